#pragma once

#include "print/printersystem.h"

#include <QList>
#include <QSemaphore>

// An in-memory printing system: the test names the printers, each takes every quality, and
// every page sent is kept. A print job calls it from its own thread; the test changes it only
// while no job runs.
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
        if (submitGate)
            submitGate->acquire();
        if (submitFailure)
            return { 0, submitFailure };
        submitted.append(document);
        if (submitSent)
            submitSent->release();
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
    std::optional<PrinterFailure> submitFailure; // every page refused
    QSemaphore *submitGate = nullptr; // when set, each page waits for one release
    QSemaphore *submitSent = nullptr; // when set, released once a page is kept
};
