#pragma once

#include "printersystem.h"
#include "sheetpdf.h"

// The printing system on CUPS. A page goes to CUPS as a PDF of the printer's own paper
// size with scaling switched off, so what is drawn at 35 x 45 mm is 35 x 45 mm on paper.
class CupsPrinterSystem : public PrinterSystem
{
public:
    PrinterListing listPrinters() override;
    bool supportsQuality(const QString &printer, int16_t quality) override;
    SubmitResult submit(const PrintDocument &document) override;
    std::optional<PrinterFailure> setUserDefault(const QString &printer) override;

    // The printer's default paper and its printable area, when the printer reports them.
    std::optional<PaperArea> paperArea(const QString &printer);
};
