#include "sheetlayout.h"

#include "photo/iddocument.h"
#include "platform/rounding.h"
#include "platform/units.h"

#include <cmath>

namespace {

constexpr double GridGap = 1 * Units::TwipsPerMillimetre;
constexpr int GridSheetLong = 150; // millimetres
constexpr int GridSheetShort = 100;

int copiesAlong(double room, int side)
{
    return room >= side ? int(std::floor((room + GridGap) / (side + GridGap))) : 0;
}

} // namespace

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

SheetLayout sheetLayoutFor(const QSizeF &printMm)
{
    IdDocument document;
    document.size = printMm;
    const int band = document.bandFormat();
    if (band >= 0)
        return computeSheetLayout(PhotoFormats[band].frameWidth, PhotoFormats[band].frameHeight);

    SheetLayout layout;
    layout.copiesAbut = false;
    layout.columnCount = 0;
    layout.tileWidth = toInt32(printMm.width() * Units::TwipsPerMillimetre).value_or(0);
    layout.tileHeight = toInt32(printMm.height() * Units::TwipsPerMillimetre).value_or(0);
    if (layout.tileWidth <= 0 || layout.tileHeight <= 0)
        return layout;
    const auto grid = [&layout](int sheetX, int sheetY) {
        return QSize(copiesAlong(sheetX * Units::TwipsPerMillimetre, layout.tileWidth),
            copiesAlong(sheetY * Units::TwipsPerMillimetre, layout.tileHeight));
    };
    QSize copies = grid(GridSheetLong, GridSheetShort);
    const QSize upright = grid(GridSheetShort, GridSheetLong);
    if (qint64(upright.width()) * upright.height() > qint64(copies.width()) * copies.height()) {
        copies = upright;
        std::swap(layout.sheetUnitsX, layout.sheetUnitsY);
    }
    if (copies.isEmpty()) {
        layout.sheetWidth = layout.tileWidth;
        layout.sheetHeight = layout.tileHeight;
        layout.columnCount = 1;
        layout.copies.append(QPointF(0, 0));
        return layout;
    }
    layout.columnCount = float(copies.width());
    layout.sheetWidth = layout.sheetUnitsX * Units::TwipsPerMillimetre;
    layout.sheetHeight = layout.sheetUnitsY * Units::TwipsPerMillimetre;
    const double left
        = (layout.sheetWidth - (copies.width() * (layout.tileWidth + GridGap) - GridGap)) / 2;
    const double top
        = (layout.sheetHeight - (copies.height() * (layout.tileHeight + GridGap) - GridGap)) / 2;
    layout.marginX = toInt32(left).value_or(0);
    layout.marginY = toInt32(top).value_or(0);
    for (int row = 0; row < copies.height(); ++row) {
        for (int column = 0; column < copies.width(); ++column)
            layout.copies.append(QPointF(left + column * (layout.tileWidth + GridGap),
                top + row * (layout.tileHeight + GridGap)));
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
