#pragma once

#include "printersystem.h"
#include "sheetpdf.h"

#include <cups/cups.h>

// The paper a job for a destination goes on, and the name CUPS knows it by.
struct DestPaper
{
    PaperArea area;
    QByteArray media;
    std::optional<PrinterFailure> failure; // the paper is named but not known
};

// What the destination really defaults to: the lpoptions choice for it, then the queue's
// default paper and printable area, then A4 without margins.
DestPaper destPaper(cups_dest_t *dest);

// The printing system on CUPS. A page goes to CUPS as a PDF of the printer's own paper
// size with scaling switched off, so what is drawn at 35 x 45 mm is 35 x 45 mm on paper.
class CupsPrinterSystem : public PrinterSystem
{
public:
    PrinterListing listPrinters() override;
    bool supportsQuality(const QString &printer, int16_t quality) override;
    std::optional<PaperArea> paperArea(const QString &printer) override;
    SubmitResult submit(const PrintDocument &document) override;
    std::optional<PrinterFailure> setUserDefault(const QString &printer) override;

    // The printer's paper and its printable area; nothing when there is no such printer.
    std::optional<DestPaper> paper(const QString &printer);
};
