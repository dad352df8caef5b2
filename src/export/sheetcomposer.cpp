#include "sheetcomposer.h"

#include <QMap>
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

    // Rounded edges give copies of at most two sizes; each is scaled once.
    QMap<std::pair<int, int>, QImage> scaled;
    QPainter painter(&sheet);
    for (const QPointF &corner : layout.copies) {
        const QRect target = copyPixelRect(layout, corner);
        QImage &copy = scaled[{target.width(), target.height()}];
        if (copy.isNull())
            copy = clip.scaledTo(target.size());
        painter.drawImage(target.topLeft(), copy);
    }
    return sheet;
}
