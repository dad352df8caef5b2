#pragma once

#include "printersystem.h"

#include <QFuture>
#include <QImage>
#include <QSizeF>

#include <optional>

// What the print dialog hands over when the user clicks Print: the printer and its settings
// for this job, as values, so the job can run on any thread.
struct PrintChoices
{
    QString printer; // empty when none is installed or chosen
    PrintOrientation orientation = PrintOrientation::Portrait;
    int copies = 1; // more than MaxCopies is refused
    int16_t quality = PrintQuality::High;
    QString title = QStringLiteral("Kalmora");
};

// The fitted photo as the job prints it: the full-resolution crop and its print size.
struct SheetPhoto
{
    QImage crop;
    QSizeF printMm;
};

// The paper a job for the printer goes on. A paper the printing system cannot describe is
// shown as A4 until the job is sent, which then reports the reason.
PaperArea currentPaper(PrinterSystem &system, const QString &printer);

// Prints the sheet of the fitted photo: the copies laid out for the printer's paper in the
// chosen orientation. Nothing when the job was sent, else why not. Safe on any thread where
// the printing system is.
std::optional<PrinterFailure> printSheet(
    PrinterSystem &system, const PrintChoices &choices, const SheetPhoto &photo);

// The same on a thread of its own, reporting through the future. The program's end does not
// wait for it: the job keeps only values and the printing system, which bounds its calls.
QFuture<std::optional<PrinterFailure>> startPrintSheet(
    PrinterSystem &system, PrintChoices choices, SheetPhoto photo);
