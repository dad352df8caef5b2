#pragma once

#include "print/printersystem.h"

#include <QHash>
#include <QList>

#include <functional>

// An in-memory printing system: printers and what they support are set by the test, and
// every page sent and every default switch is recorded.
class FakePrinterSystem : public PrinterSystem
{
public:
    PrinterListing listPrinters() override
    {
        ++listCalls;
        PrinterListing listing;
        if (listFailure) {
            listing.failure = listFailure;
            return listing;
        }
        listing.names = names;
        listing.defaultName = defaultName;
        return listing;
    }

    bool supportsQuality(const QString &printer, int16_t quality) override
    {
        probes.append({ printer, quality });
        if (!names.contains(printer))
            return false;
        const auto found = qualities.constFind(printer);
        return found == qualities.constEnd() ? true : found->contains(quality);
    }

    SubmitResult submit(const PrintDocument &document) override
    {
        if (onSubmit)
            onSubmit(document);
        if (submitFailure)
            return { 0, submitFailure };
        submitted.append(document);
        return { int(submitted.size()), std::nullopt };
    }

    std::optional<PrinterFailure> setUserDefault(const QString &printer) override
    {
        if (setDefaultFailure)
            return setDefaultFailure;
        defaultsSet.append(printer);
        defaultName = printer;
        return std::nullopt;
    }

    struct Probe
    {
        QString printer;
        int16_t quality;
    };

    QStringList names;
    QString defaultName;
    // Quality codes and resolutions each printer takes; a printer not listed takes all.
    QHash<QString, QList<int16_t>> qualities;
    std::optional<PrinterFailure> listFailure;
    std::optional<PrinterFailure> submitFailure;
    std::optional<PrinterFailure> setDefaultFailure;
    std::function<void(const PrintDocument &)> onSubmit;

    int listCalls = 0;
    QList<Probe> probes;
    QList<PrintDocument> submitted;
    QStringList defaultsSet;
};
