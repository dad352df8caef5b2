#include "sheetcomposer.h"

#include <QPainter>

#include <algorithm>

QImage composeSheet(const SheetLayout &layout, const ClipImage &clip, const QColor &background)
{
    QImage sheet(sheetPixelSize(layout), QImage::Format_RGB32);
    if (sheet.isNull())
        return sheet;
    sheet.fill(background);
    const int dotsPerMetre = qRound(SheetDotsPerInch / 0.0254);
    sheet.setDotsPerMeterX(dotsPerMetre);
    sheet.setDotsPerMeterY(dotsPerMetre);

    QPainter painter(&sheet);
    if (!layout.copiesAbut) {
        // Rounded edges make copies differ by a pixel at most; apart, each keeps its own size,
        // so no copy reaches into the gap. A few sizes at most, each scaled once.
        QList<QImage> scaled;
        for (const QPointF &corner : layout.copies) {
            const QRect place = copyPixelRect(layout, corner);
            auto same = std::find_if(scaled.cbegin(), scaled.cend(),
                [&place](const QImage &image) { return image.size() == place.size(); });
            if (same == scaled.cend()) {
                scaled.append(clip.ownPixelsScaledTo(place.size()));
                if (scaled.last().isNull())
                    return QImage();
                same = scaled.cend() - 1;
            }
            painter.drawImage(place.topLeft(), *same);
        }
        return sheet;
    }
    // Rounded edges make copies differ by a pixel at most: the copy is scaled once, to the
    // largest, and a neighbour drawn later covers the one-pixel overlap.
    QSize largest;
    for (const QPointF &corner : layout.copies)
        largest = largest.expandedTo(copyPixelRect(layout, corner).size());
    const QImage copy = clip.ownPixelsScaledTo(largest);
    if (copy.isNull())
        return QImage();
    for (const QPointF &corner : layout.copies)
        painter.drawImage(copyPixelRect(layout, corner).topLeft(), copy);
    return sheet;
}
