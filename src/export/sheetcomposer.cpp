#include "sheetcomposer.h"

#include <QPainter>

QImage composeSheet(const SheetLayout &layout, const ClipImage &clip, const QColor &background)
{
    QImage sheet(sheetPixelSize(layout), QImage::Format_RGB32);
    if (sheet.isNull())
        return sheet;
    sheet.fill(background);
    const int dotsPerMetre = qRound(SheetDotsPerInch / 0.0254);
    sheet.setDotsPerMeterX(dotsPerMetre);
    sheet.setDotsPerMeterY(dotsPerMetre);

    // Rounded edges make copies differ by a pixel at most: the copy is scaled once, to the
    // largest, and a neighbour drawn later covers the one-pixel overlap.
    QSize largest;
    for (const QPointF &corner : layout.copies)
        largest = largest.expandedTo(copyPixelRect(layout, corner).size());
    const QImage copy = clip.ownPixelsScaledTo(largest);
    if (copy.isNull())
        return QImage();
    QPainter painter(&sheet);
    for (const QPointF &corner : layout.copies)
        painter.drawImage(copyPixelRect(layout, corner).topLeft(), copy);
    return sheet;
}
