#include "sheetlayout.h"

#include "platform/rounding.h"
#include "platform/units.h"

SheetLayout computeSheetLayout(double frameWidth, double frameHeight)
{
    SheetLayout layout;
    layout.columnCount = frameWidth < 4000 ? 4 : 3;
    if (frameWidth > 5000) {
        layout.sheetUnitsX = 180;
        layout.sheetUnitsY = 120;
    }
    // The tile's outer size is the frame's; the sheet surfaces have no border.
    layout.tileWidth = toInt32(frameWidth).value_or(0);
    layout.tileHeight = toInt32(frameHeight).value_or(0);
    const double scale = layout.tileWidth / (frameWidth / Units::TwipsPerMillimetre);
    layout.sheetWidth = scale * layout.sheetUnitsX;
    layout.sheetHeight = scale * layout.sheetUnitsY;
    layout.marginX
        = toInt32((layout.sheetWidth - layout.columnCount * layout.tileWidth) / 2).value_or(0);
    layout.marginY = toInt32((layout.sheetHeight - 2 * layout.tileHeight) / 2).value_or(0);
    const int lastColumn = toInt32(layout.columnCount - 1).value_or(0);
    for (int column = 0; column <= lastColumn; ++column) {
        for (int row = 0; row < 2; ++row)
            layout.copies.append(QPointF(column * layout.tileWidth + layout.marginX,
                row * layout.tileHeight + layout.marginY));
    }
    return layout;
}

int sheetPixels(double units)
{
    return int(roundHalfEven(
        units / Units::TwipsPerMillimetre / Units::MillimetresPerInch * SheetDotsPerInch));
}

QSize sheetPixelSize(const SheetLayout &layout)
{
    return QSize(sheetPixels(layout.sheetWidth), sheetPixels(layout.sheetHeight));
}

QRect copyPixelRect(const SheetLayout &layout, const QPointF &topLeft)
{
    const int left = sheetPixels(topLeft.x());
    const int top = sheetPixels(topLeft.y());
    return QRect(left, top, sheetPixels(topLeft.x() + layout.tileWidth) - left,
        sheetPixels(topLeft.y() + layout.tileHeight) - top);
}
