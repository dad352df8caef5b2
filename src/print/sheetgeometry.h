#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>

// Where the photos of a printed sheet stand, in millimetres from the top-left corner of the
// printable area: two rows, four columns for photos narrower than 50 mm and three otherwise,
// 10 mm in from the corner and 1 mm apart. Row 0 first, columns left to right.
QList<QRectF> sheetRectangles(const QSizeF &photoMm);

// The photo's print size: the frame is sized at 100 twips per millimetre of print.
QSizeF photoSizeMm(const QSizeF &frameTwips);
