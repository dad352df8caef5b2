#pragma once

#include "photosheetsource.h"
#include "printer.h"

#include <optional>

// What the print dialog hands over when the user clicks Print.
struct PrintChoices
{
    PrintOrientation orientation = PrintOrientation::Portrait;
    QString copiesText; // as typed; see copiesFromText
};

// The paper a job for the current printer goes on. A paper the printing system cannot describe
// is shown as A4 until the job is sent, which then reports the reason.
PaperArea currentPaper(Printer &printer);

// Prints the sheet of the fitted photo on the current printer: the copies laid out for its
// paper in the chosen orientation. The orientation and copies stay set on the printer for later
// jobs. Nothing when the job was sent, else why not.
std::optional<PrinterFailure> printSheet(
    Printer &printer, const PrintChoices &choices, const PhotoSheetSource &source);
