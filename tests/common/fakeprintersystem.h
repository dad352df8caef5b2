#pragma once

#include "print/printersystem.h"

#include <QList>

// An in-memory printing system: the test names the printers, each takes every quality, and
// every page sent is kept.
class FakePrinterSystem : public PrinterSystem
{
public:
    PrinterListing listPrinters() override { return { names, defaultName, std::nullopt }; }
    bool supportsQuality(const QString &name, int16_t) override { return names.contains(name); }
    std::optional<PaperArea> paperArea(const QString &name) override
    {
        return names.contains(name) ? std::optional(paper) : std::nullopt;
    }
    SubmitResult submit(const PrintDocument &document) override
    {
        submitted.append(document);
        return { int(submitted.size()), std::nullopt };
    }
    std::optional<PrinterFailure> setUserDefault(const QString &printer) override
    {
        defaultName = printer;
        return std::nullopt;
    }

    QStringList names;
    QString defaultName;
    PaperArea paper = FallbackPaper;
    QList<PrintDocument> submitted;
};
