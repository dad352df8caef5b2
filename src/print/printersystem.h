#pragma once

#include "i18n/texttable.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPromise>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>

// Print quality codes; a positive quality is a resolution in dots per inch.
namespace PrintQuality {
constexpr int16_t Draft = -1;
constexpr int16_t Low = -2;
constexpr int16_t Medium = -3;
constexpr int16_t High = -4;
} // namespace PrintQuality

enum class PrintOrientation { Portrait = 1, Landscape = 2 };

// Why a print failed: the kind of reason with its figures for the language line's %1, %2...,
// and where no line can say it, the printing system's own words, shown after the line.
struct PrinterFailure
{
    enum class Reason {
        NoPrinter,
        TooManyCopies,
        NoPhoto,
        UnknownPaper, // the paper's name
        AreaLargerThanPaper,
        NoCopyFits, // the photo's width and height, the printable area's, in mm
        PrinterStopped, // the printer; the system's words: its state message
        SystemError, // the system's words: its error text
        ServerSilent, // the server's address; the system's words: its error text
        NotAnswered, // the seconds waited
        NotAnsweredJobMayPrint, // the seconds waited
        NoPrinterNamed, // the name
        NoTemporaryFile, // the system's words: why
        NoPaperSize,
        PhotosBeyondArea, // the photos' right and bottom edge, the printable area, in mm
        PageLayoutRefused,
        PageNotWritten, // the file
    };

    PrinterFailure() = default;
    PrinterFailure(
        Reason reason, QStringList arguments = {}, QString systemWords = {}, int number = 0)
        : reason(reason)
        , arguments(std::move(arguments))
        , systemWords(std::move(systemWords))
        , number(number)
    { }

    Reason reason = Reason::SystemError;
    QStringList arguments;
    QString systemWords;
    int number = 0; // the printing system's error number, 0 for a reason of our own

    // The language line that says the reason.
    TextId text() const;
    // In the user's language, the system's own words after it.
    QString said(const TextTable &texts) const;
};

// A sheet of paper as the printer describes it, upright (portrait): its size and the
// unprintable margins at each edge, in millimetres.
struct PaperArea
{
    QSizeF paperMm;
    QMarginsF marginsMm;
};

// What a printer that reports nothing is taken to print on: A4, all of it printable.
inline const PaperArea FallbackPaper { QSizeF(210, 297), QMarginsF() };

struct PrinterListing
{
    QStringList names; // installed printers, in the printing system's order
    QString defaultName; // the user's default printer, empty when there is none
    std::optional<PrinterFailure> failure;
};

// A picture stretched into a rectangle, in millimetres from the printable area's top-left.
struct PlacedPicture
{
    QImage picture;
    QRectF rectMm;
};

// One page for one printer, with the settings it is to be printed with.
struct PrintDocument
{
    QString printer;
    PrintOrientation orientation = PrintOrientation::Portrait;
    int copies = 1;
    std::optional<int16_t> quality; // left to the printer when empty
    QString title;
    QList<PlacedPicture> pictures;
};

struct SubmitResult
{
    int jobId = 0;
    std::optional<PrinterFailure> failure;
};

// The desktop's printing system: the installed printers, what they support, the user's
// default, and sending a page. The program uses CUPS; tests also use an in-memory fake.
class PrinterSystem
{
public:
    virtual ~PrinterSystem() = default;

    virtual PrinterListing listPrinters() = 0;
    // Whether the printer can print at a quality code or a resolution.
    virtual bool supportsQuality(const QString &printer, int16_t quality) = 0;
    // The paper a job for the printer goes on; nothing when it cannot be told.
    virtual std::optional<PaperArea> paperArea(const QString &printer) = 0;
    virtual SubmitResult submit(const PrintDocument &document) = 0;
    // Makes the printer the user's default destination.
    virtual std::optional<PrinterFailure> setUserDefault(const QString &printer) = 0;

    // Starts the work on another thread and returns at once. The work is handed a system to
    // use: this one, which must then outlive it, or one that owns all it needs.
    virtual void runDetached(std::function<void(PrinterSystem &)> work)
    {
        std::thread([this, work = std::move(work)] { work(*this); }).detach();
    }
};

// Asks the printing system off the calling thread, so the window's thread never waits for a
// server; the answer comes through the future.
template<typename Query>
QFuture<std::invoke_result_t<Query, PrinterSystem &>> askPrinterSystem(
    PrinterSystem &system, Query query)
{
    using Answer = std::invoke_result_t<Query, PrinterSystem &>;
    // Shared, as the work must be copyable.
    auto promise = std::make_shared<QPromise<Answer>>();
    QFuture<Answer> future = promise->future();
    promise->start();
    system.runDetached([promise, query = std::move(query)](PrinterSystem &asked) {
        promise->addResult(query(asked));
        promise->finish();
    });
    return future;
}
