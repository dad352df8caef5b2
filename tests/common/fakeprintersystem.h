#pragma once

#include "print/printersystem.h"

#include <QList>
#include <QSemaphore>
#include <QThreadPool>

// An in-memory printing system: the test names the printers, each takes every quality, and
// every page sent is kept. A print job and the print dialog's questions call it from their own
// threads; the test changes it only while none runs.
class FakePrinterSystem : public PrinterSystem
{
public:
    PrinterListing listPrinters() override
    {
        // Bounded, so a test that blocks the window's thread here fails instead of hanging.
        if (listGate)
            listGate->tryAcquire(1, 5000);
        return { names, defaultName, std::nullopt };
    }
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
    // On threads the fake waits for when it goes, so a question may outlast the dialog.
    void runDetached(std::function<void(PrinterSystem &)> work) override
    {
        questions.start([this, work = std::move(work)] { work(*this); });
    }

    QStringList names;
    QString defaultName;
    PaperArea paper = FallbackPaper;
    QList<PrintDocument> submitted;
    std::optional<PrinterFailure> submitFailure; // every page refused
    QSemaphore *submitGate = nullptr; // when set, each page waits for one release
    QSemaphore *submitSent = nullptr; // when set, released once a page is kept
    QSemaphore *listGate = nullptr; // when set, each listing waits for one release
    QThreadPool questions; // last, so it ends first
};
