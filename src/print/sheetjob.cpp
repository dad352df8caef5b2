#include "sheetjob.h"

#include "copiestext.h"
#include "sheetgeometry.h"
#include "sheetpdf.h"

#include <QPromise>
#include <QThreadPool>

#include <memory>

namespace {

QThreadPool &printJobThreads()
{
    // Never destroyed, so never waited for: a printing server that takes its time must not
    // hold up the program's end.
    static QThreadPool *const threads = new QThreadPool;
    return *threads;
}

} // namespace

PaperArea currentPaper(PrinterSystem &system, const QString &printer)
{
    return (printer.isEmpty() ? std::nullopt : system.paperArea(printer)).value_or(FallbackPaper);
}

std::optional<PrinterFailure> printSheet(
    PrinterSystem &system, const PrintChoices &choices, const SheetPhoto &photo)
{
    if (choices.copies > MaxCopies)
        return PrinterFailure { PrinterFailure::Reason::TooManyCopies };
    if (photo.crop.isNull() || photo.printMm.isEmpty())
        return PrinterFailure { PrinterFailure::Reason::NoPhoto };
    // Laid out for the paper the preview shows, so the copies print where they were seen.
    const QSizeF &photoMm = photo.printMm;
    const QSizeF area = printableSize(currentPaper(system, choices.printer), choices.orientation);
    if (area.isEmpty())
        return areaLargerThanPaper();
    const QList<QRectF> places = sheetOnPaper(photoMm, area);
    if (places.isEmpty()) {
        const QStringList sizes { QString::number(photoMm.width(), 'f', 1),
            QString::number(photoMm.height(), 'f', 1), QString::number(area.width(), 'f', 1),
            QString::number(area.height(), 'f', 1) };
        return PrinterFailure { PrinterFailure::Reason::NoCopyFits, sizes };
    }

    PrintDocument document;
    document.printer = choices.printer;
    document.orientation = choices.orientation;
    document.copies = choices.copies;
    // A quality the printer cannot take is left to the printer rather than refused: it may
    // have been chosen for another printer earlier in the run.
    if (!choices.printer.isEmpty() && system.supportsQuality(choices.printer, choices.quality))
        document.quality = choices.quality;
    document.title = choices.title;
    for (const QRectF &place : places)
        document.pictures.append({ photo.crop, place });
    if (document.printer.isEmpty())
        return PrinterFailure { PrinterFailure::Reason::NoPrinter };
    return system.submit(document).failure;
}

QFuture<std::optional<PrinterFailure>> startPrintSheet(
    PrinterSystem &system, PrintChoices choices, SheetPhoto photo)
{
    // Shared, as the pool takes only what it can copy.
    auto promise = std::make_shared<QPromise<std::optional<PrinterFailure>>>();
    QFuture<std::optional<PrinterFailure>> future = promise->future();
    // Running from now, not from when a thread takes it up.
    promise->start();
    printJobThreads().start(
        [&system, promise, choices = std::move(choices), photo = std::move(photo)] {
            promise->start();
            promise->addResult(printSheet(system, choices, photo));
            promise->finish();
        });
    return future;
}
