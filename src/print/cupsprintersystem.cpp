#include "cupsprintersystem.h"

#include <QDir>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <memory>

namespace {

PrinterFailure lastCupsFailure()
{
    const QString words = QString::fromUtf8(cupsLastErrorString());
    const int number = int(cupsLastError());
    // Without a server the system's own words ("Bad file descriptor") say little.
    if (words.isEmpty() || cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return { PrinterFailure::Reason::ServerSilent, { QString::fromUtf8(cupsServer()) }, words,
            number };
    return { PrinterFailure::Reason::SystemError, {}, words, number };
}

bool cupsFailed()
{
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}

struct DestDeleter
{
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};
using DestPointer = std::unique_ptr<cups_dest_t, DestDeleter>;

struct InfoDeleter
{
    void operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }
};
using InfoPointer = std::unique_ptr<cups_dinfo_t, InfoDeleter>;

DestPointer namedDest(const QString &printer)
{
    return DestPointer(cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr));
}

// The quality codes onto IPP's three print qualities: low and draft both mean draft.
const char *ippQuality(int16_t quality)
{
    switch (quality) {
    case PrintQuality::High:
        return "5";
    case PrintQuality::Medium:
        return "4";
    case PrintQuality::Low:
    case PrintQuality::Draft:
        return "3";
    default:
        return nullptr;
    }
}

QString optionValue(const cups_dest_t *dest, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, dest->num_options, dest->options));
}

class Options
{
public:
    ~Options() { cupsFreeOptions(m_count, m_options); }
    void add(const char *name, const QByteArray &value)
    {
        m_count = cupsAddOption(name, value.constData(), m_count, &m_options);
    }
    int count() const { return m_count; }
    cups_option_t *options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t *m_options = nullptr;
};

int intMember(ipp_t *collection, const char *name)
{
    return ippGetInteger(ippFindAttribute(collection, name, IPP_TAG_INTEGER), 0);
}

// CUPS gives hundredths of a millimetre.
PaperArea areaOf(int width, int length, int left, int top, int right, int bottom)
{
    return { QSizeF(width, length) / 100.0, QMarginsF(left, top, right, bottom) / 100.0 };
}

// A paper named the way lpoptions, a PPD or IPP name it ("A4", "Letter", "iso_a4_210x297mm").
std::optional<DestPaper> namedPaper(cups_dest_t *dest, cups_dinfo_t *info, const QByteArray &name)
{
    const pwg_media_t *pwg = pwgMediaForPWG(name.constData());
    if (!pwg)
        pwg = pwgMediaForLegacy(name.constData());
    if (!pwg)
        pwg = pwgMediaForPPD(name.constData());
    if (!pwg || !pwg->pwg)
        return std::nullopt;
    cups_size_t size {};
    // The printer's own margins for that paper; a paper it does not list is printed whole.
    if (info
        && cupsGetDestMediaByName(
            CUPS_HTTP_DEFAULT, dest, info, pwg->pwg, CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return DestPaper { areaOf(size.width, size.length, size.left, size.top, size.right,
                               size.bottom),
            pwg->pwg, std::nullopt };
    return DestPaper { areaOf(pwg->width, pwg->length, 0, 0, 0, 0), pwg->pwg, std::nullopt };
}

// The queue's default paper with its margins, as IPP's media-col-default gives it.
std::optional<DestPaper> defaultMediaCol(cups_dest_t *dest, cups_dinfo_t *info)
{
    ipp_attribute_t *attribute = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-col");
    ipp_t *col = ippGetCollection(attribute, 0);
    ipp_t *size = col
        ? ippGetCollection(ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION), 0)
        : nullptr;
    if (!size)
        return std::nullopt;
    const int width = intMember(size, "x-dimension");
    const int length = intMember(size, "y-dimension");
    const pwg_media_t *pwg = pwgMediaForSize(width, length);
    if (width <= 0 || length <= 0 || !pwg || !pwg->pwg)
        return std::nullopt;
    return DestPaper { areaOf(width, length, intMember(col, "media-left-margin"),
                           intMember(col, "media-top-margin"), intMember(col, "media-right-margin"),
                           intMember(col, "media-bottom-margin")),
        pwg->pwg, std::nullopt };
}

} // namespace

DestPaper destPaper(cups_dest_t *dest)
{
    const InfoPointer info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest));
    // A choice made with lpoptions comes first: PageSize only ever comes from there, media
    // also carries the queue's own default. Only the first of "A4,Tray1" names the paper.
    for (const char *option : { "PageSize", CUPS_MEDIA }) {
        const QByteArray name = QByteArray(cupsGetOption(option, dest->num_options, dest->options))
                                    .split(',')
                                    .value(0)
                                    .trimmed();
        if (name.isEmpty())
            continue;
        if (std::optional<DestPaper> paper = namedPaper(dest, info.get(), name))
            return *paper;
        DestPaper unknown;
        unknown.failure
            = PrinterFailure { PrinterFailure::Reason::UnknownPaper, { QString::fromUtf8(name) } };
        return unknown;
    }
    // Without the queue's own description its default paper is unknown; guessing would
    // print on the wrong page.
    if (!info) {
        DestPaper unknown;
        unknown.failure = lastCupsFailure();
        return unknown;
    }
    if (std::optional<DestPaper> paper = defaultMediaCol(dest, info.get()))
        return *paper;
    // Nothing reported: A4 without margins keeps the sizes exact.
    return DestPaper { areaOf(21000, 29700, 0, 0, 0, 0), "iso_a4_210x297mm", std::nullopt };
}

PrinterListing CupsPrinterSystem::listPrinters()
{
    PrinterListing listing;
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    if (count == 0 && cupsFailed()) {
        listing.failure = lastCupsFailure();
        return listing;
    }
    for (int i = 0; i < count; ++i) {
        // Instances are option sets of a printer, not printers of their own.
        if (dests[i].instance)
            continue;
        const QString name = QString::fromUtf8(dests[i].name);
        listing.names.append(name);
        if (dests[i].is_default)
            listing.defaultName = name;
    }
    cupsFreeDests(count, dests);
    return listing;
}

bool CupsPrinterSystem::supportsQuality(const QString &printer, int16_t quality)
{
    const DestPointer dest = namedDest(printer);
    if (!dest)
        return false;
    const InfoPointer info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info)
        return false;
    if (quality > 0) {
        const QByteArray resolution = QByteArray::number(quality) + "dpi";
        return cupsCheckDestSupported(CUPS_HTTP_DEFAULT, dest.get(), info.get(),
            "printer-resolution", resolution.constData());
    }
    const char *value = ippQuality(quality);
    return value
        && cupsCheckDestSupported(
            CUPS_HTTP_DEFAULT, dest.get(), info.get(), CUPS_PRINT_QUALITY, value);
}

std::optional<DestPaper> CupsPrinterSystem::paper(const QString &printer)
{
    const DestPointer dest = namedDest(printer);
    if (!dest)
        return std::nullopt;
    return destPaper(dest.get());
}

std::optional<PaperArea> CupsPrinterSystem::paperArea(const QString &printer)
{
    const std::optional<DestPaper> found = paper(printer);
    if (!found || found->failure)
        return std::nullopt;
    return found->area;
}

SubmitResult CupsPrinterSystem::submit(const PrintDocument &document)
{
    const DestPointer dest = namedDest(document.printer);
    if (!dest)
        return { 0, lastCupsFailure() };
    // A stopped queue would take the job and keep it; say so now instead.
    if (optionValue(dest.get(), "printer-state").toInt() == IPP_PSTATE_STOPPED) {
        return { 0,
            PrinterFailure { PrinterFailure::Reason::PrinterStopped, { document.printer },
                optionValue(dest.get(), "printer-state-message"),
                int(IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) } };
    }

    const DestPaper paper = destPaper(dest.get());
    if (paper.failure)
        return { 0, *paper.failure };

    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kalmora-XXXXXX.pdf"));
    if (!file.open())
        return { 0,
            PrinterFailure { PrinterFailure::Reason::NoTemporaryFile, {}, file.errorString() } };
    file.close();
    if (std::optional<PrinterFailure> failure
        = writeSheetPdf(document, paper.area, file.fileName()))
        return { 0, *failure };

    Options options;
    options.add(CUPS_COPIES, QByteArray::number(document.copies));
    options.add("print-scaling", "none");
    options.add(CUPS_ORIENTATION,
        document.orientation == PrintOrientation::Landscape ? CUPS_ORIENTATION_LANDSCAPE
                                                            : CUPS_ORIENTATION_PORTRAIT);
    options.add(CUPS_MEDIA, paper.media);
    if (document.quality) {
        if (*document.quality > 0)
            options.add("printer-resolution", QByteArray::number(*document.quality) + "dpi");
        else if (const char *quality = ippQuality(*document.quality))
            options.add(CUPS_PRINT_QUALITY, quality);
    }
    options.add("document-format", CUPS_FORMAT_PDF);

    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, document.printer.toUtf8().constData(),
        QFile::encodeName(file.fileName()).constData(), document.title.toUtf8().constData(),
        options.count(), options.options());
    if (job <= 0)
        return { 0, lastCupsFailure() };
    return { job, std::nullopt };
}

std::optional<PrinterFailure> CupsPrinterSystem::setUserDefault(const QString &printer)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    if (count == 0 && cupsFailed())
        return lastCupsFailure();
    std::optional<PrinterFailure> failure;
    cups_dest_t *chosen = cupsGetDest(printer.toUtf8().constData(), nullptr, count, dests);
    if (!chosen) {
        failure = PrinterFailure { PrinterFailure::Reason::NoPrinterNamed, { printer }, {},
            int(IPP_STATUS_ERROR_NOT_FOUND) };
    } else {
        for (int i = 0; i < count; ++i)
            dests[i].is_default = 0;
        chosen->is_default = 1;
        // What "lpoptions -d" does: the choice lands in the user's lpoptions file.
        if (cupsSetDests2(CUPS_HTTP_DEFAULT, count, dests) != 0)
            failure = lastCupsFailure();
    }
    cupsFreeDests(count, dests);
    return failure;
}
