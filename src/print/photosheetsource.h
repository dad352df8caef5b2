#pragma once

#include <QImage>
#include <QSizeF>

#include <functional>

// What printing reads from the photo workspace when the job runs: the full-resolution crop
// of the fitted photo and its print size in millimetres.
struct PhotoSheetSource
{
    std::function<QImage()> photoCrop;
    std::function<QSizeF()> printMm;
};
