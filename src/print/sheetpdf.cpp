#include "sheetpdf.h"
#include "platform/units.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {
constexpr int PdfResolution = 1200;
constexpr double FitTolerance = 0.05; // mm
} // namespace

QMarginsF pageMargins(const PaperArea &paper, PrintOrientation orientation)
{
    const QMarginsF &m = paper.marginsMm;
    if (orientation == PrintOrientation::Portrait)
        return m;
    return QMarginsF(m.bottom(), m.left(), m.top(), m.right());
}

PrinterFailure areaLargerThanPaper()
{
    return { PrinterFailure::Reason::AreaLargerThanPaper };
}

QSizeF printableSize(const PaperArea &paper, PrintOrientation orientation)
{
    const QMarginsF &m = paper.marginsMm;
    const QSizeF printable(paper.paperMm.width() - m.left() - m.right(),
        paper.paperMm.height() - m.top() - m.bottom());
    if (std::min({ m.left(), m.top(), m.right(), m.bottom() }) < 0 || !(printable.width() > 0)
        || !(printable.height() > 0))
        return {};
    return orientation == PrintOrientation::Landscape ? printable.transposed() : printable;
}

std::optional<PrinterFailure> writeSheetPdf(
    const PrintDocument &document, const PaperArea &paper, const QString &path)
{
    if (!(paper.paperMm.width() > 0 && paper.paperMm.height() > 0))
        return PrinterFailure { PrinterFailure::Reason::NoPaperSize };
    const QSizeF area = printableSize(paper, document.orientation);
    if (area.isEmpty())
        return areaLargerThanPaper();
    // Cut photos are worse than none: the copies were laid out for this paper, so one outside
    // its printable area means the paper changed since.
    QRectF sheet;
    for (const PlacedPicture &placed : document.pictures)
        sheet |= placed.rectMm;
    if (sheet.left() < 0 || sheet.top() < 0 || sheet.right() > area.width() + FitTolerance
        || sheet.bottom() > area.height() + FitTolerance)
        return PrinterFailure { PrinterFailure::Reason::PhotosBeyondArea,
            { QString::number(sheet.right(), 'f', 1), QString::number(sheet.bottom(), 'f', 1),
                QString::number(area.width(), 'f', 1), QString::number(area.height(), 'f', 1) } };
    QPdfWriter writer(path);
    writer.setResolution(PdfResolution);
    writer.setCreator(QStringLiteral("Kalmora"));
    writer.setTitle(document.title);
    // Exact size in points, so the page is the printer's paper and nothing needs fitting.
    const QSizeF points = paper.paperMm / Units::MillimetresPerInch * 72.0;
    const QPageSize size(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
    const auto orientation = document.orientation == PrintOrientation::Landscape
        ? QPageLayout::Landscape
        : QPageLayout::Portrait;
    if (!writer.setPageLayout(QPageLayout(size, orientation, QMarginsF())))
        return PrinterFailure { PrinterFailure::Reason::PageLayoutRefused };

    QPainter painter;
    if (!painter.begin(&writer))
        return PrinterFailure { PrinterFailure::Reason::PageNotWritten, { path } };
    painter.scale(
        PdfResolution / Units::MillimetresPerInch, PdfResolution / Units::MillimetresPerInch);
    const QMarginsF margins = pageMargins(paper, document.orientation);
    painter.translate(margins.left(), margins.top());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PlacedPicture &placed : document.pictures)
        painter.drawImage(placed.rectMm, placed.picture);
    if (!painter.end())
        return PrinterFailure { PrinterFailure::Reason::PageNotWritten, { path } };
    return std::nullopt;
}
