#pragma once

#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>

// The exported sheet, laid out in the frame's scale (100 units per millimetre of print).
struct SheetLayout
{
    int sheetUnitsX = 150; // millimetres
    int sheetUnitsY = 100;
    float columnCount = 3;
    int tileWidth = 0; // TW
    int tileHeight = 0; // TH
    double sheetWidth = 0; // outer size of the sheet, frame units
    double sheetHeight = 0;
    int marginX = 0; // MX
    int marginY = 0; // MY
    QList<QPointF> copies; // top-left corners: column by column, the upper copy first
    // The band's sheets abut their copies; the other sizes stand 1 mm apart.
    bool copiesAbut = true;
};

SheetLayout computeSheetLayout(double frameWidth, double frameHeight);

// The sheet for a print size in millimetres. The band's five sizes: the layout above, from
// their frames. Any other size: 150 x 100 mm (100 x 150 when that holds more) with every
// whole copy it takes, 1 mm apart, centred, row by row; a copy larger than that either way
// alone on a sheet of its own size.
SheetLayout sheetLayoutFor(const QSizeF &printMm);

// The sheet is rasterised at this density, so a photo lab prints it at its real size.
constexpr double SheetDotsPerInch = 300;

// Frame units (hundredths of a millimetre) to sheet pixels.
int sheetPixels(double units);
QSize sheetPixelSize(const SheetLayout &layout);
// A copy's pixels: its edges are rounded, so neighbouring copies abut exactly.
QRect copyPixelRect(const SheetLayout &layout, const QPointF &topLeft);
