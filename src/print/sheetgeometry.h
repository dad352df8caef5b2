#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>

// Where the photos of a printed sheet stand, in millimetres from the top-left corner of the
// printable area: two rows, four columns for photos narrower than 50 mm and three otherwise,
// 10 mm in from the corner and 1 mm apart. Row 0 first, columns left to right.
QList<QRectF> sheetRectangles(const QSizeF &photoMm);

// The copies laid out for a printable area of the given size (mm, as the page is turned).
// The band's five sizes: the sheet above where it fits whole; otherwise the grid of columns
// and rows, 1 mm apart, that holds the most whole copies (at most the sheet's own count),
// centred in the area; among grids of the same count the one nearest the sheet's columns and
// rows. Any other size: every whole copy the area takes, 1 mm apart, centred. Row by row,
// left to right. Empty when not one copy fits. A copy is never resized.
QList<QRectF> sheetOnPaper(const QSizeF &photoMm, const QSizeF &printableMm);

// The photo's print size: the frame is sized at 100 twips per millimetre of print.
QSizeF photoSizeMm(const QSizeF &frameTwips);
