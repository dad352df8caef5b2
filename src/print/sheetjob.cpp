#include "sheetjob.h"

#include "copiestext.h"
#include "sheetgeometry.h"
#include "sheetpdf.h"

PaperArea currentPaper(Printer &printer)
{
    const QString name = printer.deviceName();
    return (name.isEmpty() ? std::nullopt : printer.system().paperArea(name))
        .value_or(FallbackPaper);
}

std::optional<PrinterFailure> printSheet(
    Printer &printer, const PrintChoices &choices, const PhotoSheetSource &source)
{
    printer.setOrientation(choices.orientation);
    const CopiesRequest copies = copiesFromText(choices.copiesText);
    if (copies.kind == CopiesRequest::Kind::TooMany)
        return PrinterFailure { 0, QStringLiteral("%1 copies at most").arg(MaxCopies),
            TextId::TooManyCopies };
    if (copies.kind == CopiesRequest::Kind::Set)
        printer.setCopies(copies.copies);

    const QImage crop = source.photoCrop ? source.photoCrop() : QImage();
    const QSizeF frame = source.frameTwips ? source.frameTwips() : QSizeF();
    if (crop.isNull() || frame.isEmpty())
        return PrinterFailure { 0, QStringLiteral("there is no photo to print"),
            TextId::NoPhotoToPrint };
    // Laid out for the paper the preview shows, so the copies print where they were seen.
    const QSizeF photoMm = photoSizeMm(frame);
    const QSizeF area = printableSize(currentPaper(printer), choices.orientation);
    if (area.isEmpty())
        return areaLargerThanPaper();
    const QList<QRectF> places = sheetOnPaper(photoMm, area);
    if (places.isEmpty()) {
        const QStringList sizes { QString::number(photoMm.width(), 'f', 1),
            QString::number(photoMm.height(), 'f', 1), QString::number(area.width(), 'f', 1),
            QString::number(area.height(), 'f', 1) };
        return PrinterFailure { 0,
            QStringLiteral("not one photo (%1 x %2 mm) fits the printable area of the paper "
                           "(%3 x %4 mm)")
                .arg(sizes[0], sizes[1], sizes[2], sizes[3]),
            TextId::NoCopyFits, sizes };
    }
    for (const QRectF &place : places)
        printer.drawPicture(crop, place);
    return printer.endDocument().failure;
}
