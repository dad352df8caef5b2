#pragma once

#include "photo/cropsource.h"
#include "sheetlayout.h"

#include <QColor>
#include <QImage>

// Draws every copy of the clip image on a sheet filled with the background colour, at
// 300 pixels per inch, scaled smoothly from the photo's own pixels.
// Null when the photo's own pixels cannot be had (their decode failed).
QImage composeSheet(const SheetLayout &layout, const ClipImage &clip, const QColor &background);
