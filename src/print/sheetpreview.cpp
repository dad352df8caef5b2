#include "sheetpreview.h"

#include "sheetgeometry.h"
#include "sheetpdf.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int Padding = 4;
constexpr int ShadowOffset = 3;
} // namespace

QImage sheetPreview(const PaperArea &paper, PrintOrientation orientation, const QImage &photo,
    const QSizeF &photoMm, const QSize &bounds)
{
    QImage preview(bounds, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    const QSizeF page
        = orientation == PrintOrientation::Landscape ? paper.paperMm.transposed() : paper.paperMm;
    const QSizeF room = bounds - QSize(2 * Padding + ShadowOffset, 2 * Padding + ShadowOffset);
    if (page.isEmpty() || room.isEmpty())
        return preview;
    const double scale = std::min(room.width() / page.width(), room.height() / page.height());
    QRectF sheet(QPointF(), page * scale);
    sheet.moveCenter(QRectF(QPointF(), QSizeF(bounds)).center()
        - QPointF(ShadowOffset / 2.0, ShadowOffset / 2.0));
    sheet = QRectF(sheet.topLeft().toPoint(), sheet.size()); // crisp edges

    QPainter painter(&preview);
    painter.fillRect(sheet.translated(ShadowOffset, ShadowOffset), QColor(0, 0, 0, 110));
    painter.fillRect(sheet, Qt::white);
    const QMarginsF margins = pageMargins(paper, orientation);
    const QRectF printable = sheet.marginsRemoved(margins * scale);
    if (!margins.isNull()) {
        painter.setPen(QPen(QColor(170, 170, 170), 1, Qt::DotLine));
        painter.drawRect(printable);
    }

    // Scaled once to about the size it shows at, then drawn at every place.
    const QSize cell(
        int(std::ceil(photoMm.width() * scale)), int(std::ceil(photoMm.height() * scale)));
    const QImage small = photo.isNull() || cell.isEmpty()
        ? QImage()
        : photo.scaled(cell * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(sheet);
    for (const QRectF &place : sheetOnPaper(photoMm, printableSize(paper, orientation))) {
        // Whole pixels, one short at the far edges: copies 1 mm apart stay apart on screen.
        const QPointF from = printable.topLeft() + place.topLeft() * scale;
        const QPointF to = from + QPointF(place.width(), place.height()) * scale;
        const QRect target(QPoint(qRound(from.x()), qRound(from.y())),
            QPoint(qRound(to.x()) - 2, qRound(to.y()) - 2));
        if (small.isNull())
            painter.fillRect(target, QColor(150, 150, 150));
        else
            painter.drawImage(target, small);
    }
    return preview;
}
