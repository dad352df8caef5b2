#pragma once

#include "printersystem.h"

#include <QMarginsF>
#include <QSizeF>

// The margins as seen on the page in the given orientation. Landscape pages are turned a
// quarter turn anticlockwise onto the paper, so the paper's bottom edge becomes the page's
// left edge and its left edge the page's top.
QMarginsF pageMargins(const PaperArea &paper, PrintOrientation orientation);

// The printable area's size as the page shows it in the given orientation; empty when the
// margins leave nothing or are negative.
QSizeF printableSize(const PaperArea &paper, PrintOrientation orientation);
// Why a paper whose margins leave nothing to print on is refused.
PrinterFailure areaLargerThanPaper();

// Writes the document's page as a one-page PDF of the paper's size (turned for landscape),
// with every picture at its place measured from the printable area's top-left corner.
// Returns the reason on failure.
std::optional<PrinterFailure> writeSheetPdf(
    const PrintDocument &document, const PaperArea &paper, const QString &path);
