#include "sheetpdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {
constexpr int PdfResolution = 1200;
constexpr double MmPerInch = 25.4;
} // namespace

QMarginsF pageMargins(const PaperArea &paper, PrintOrientation orientation)
{
    const QMarginsF &m = paper.marginsMm;
    if (orientation == PrintOrientation::Portrait)
        return m;
    return QMarginsF(m.bottom(), m.left(), m.top(), m.right());
}

std::optional<QString> writeSheetPdf(
    const PrintDocument &document, const PaperArea &paper, const QString &path)
{
    if (!(paper.paperMm.width() > 0 && paper.paperMm.height() > 0))
        return QStringLiteral("the printer reports no paper size");
    QPdfWriter writer(path);
    writer.setResolution(PdfResolution);
    writer.setCreator(QStringLiteral("Kalmora"));
    writer.setTitle(document.title);
    // Exact size in points, so the page is the printer's paper and nothing needs fitting.
    const QSizeF points = paper.paperMm / MmPerInch * 72.0;
    const QPageSize size(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
    const auto orientation = document.orientation == PrintOrientation::Landscape
        ? QPageLayout::Landscape
        : QPageLayout::Portrait;
    if (!writer.setPageLayout(QPageLayout(size, orientation, QMarginsF())))
        return QStringLiteral("the page layout was refused");

    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("the page could not be written to %1").arg(path);
    painter.scale(PdfResolution / MmPerInch, PdfResolution / MmPerInch);
    const QMarginsF margins = pageMargins(paper, document.orientation);
    painter.translate(margins.left(), margins.top());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PlacedPicture &placed : document.pictures)
        painter.drawImage(placed.rectMm, placed.picture);
    if (!painter.end())
        return QStringLiteral("the page could not be written to %1").arg(path);
    return std::nullopt;
}
