#pragma once

#include "printersystem.h"

#include <QImage>
#include <QSize>

// A picture of the page as it will print, fitted into `bounds` pixels on a transparent
// ground: the paper in its orientation, its printable area, and the photo at each place where it
// will print on that paper. Without a photo the places show as grey.
QImage sheetPreview(const PaperArea &paper, PrintOrientation orientation, const QImage &photo,
    const QSizeF &photoMm, const QSize &bounds);
