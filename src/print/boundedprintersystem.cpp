#include "boundedprintersystem.h"

#include <QCoreApplication>
#include <QPromise>
#include <QSemaphore>
#include <QThread>

#include <thread>

BoundedPrinterSystem::BoundedPrinterSystem(std::shared_ptr<PrinterSystem> system,
    std::chrono::milliseconds queryLimit, std::chrono::milliseconds submitLimit)
    : m_system(std::move(system))
    , m_queryLimit(queryLimit)
    , m_submitLimit(submitLimit)
{ }

namespace {

PrinterFailure unanswered(std::chrono::milliseconds limit,
    PrinterFailure::Reason reason = PrinterFailure::Reason::NotAnswered)
{
    return { reason,
        { QString::number(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) } };
}

bool onWindowThread()
{
    return QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

template<typename Result, typename Call>
std::optional<Result> BoundedPrinterSystem::run(Call call, std::chrono::milliseconds limit)
{
    // Waiting here would freeze the windows for as long as the limit.
    Q_ASSERT(!onWindowThread());
    // Only a call given up earlier, or another thread's, can still be running here.
    int idle = 0;
    if (!m_running->compare_exchange_strong(idle, 1))
        return std::nullopt;
    QPromise<Result> promise;
    QFuture<Result> future = promise.future();
    auto answered = std::make_shared<QSemaphore>();
    // The thread owns what it uses, so a call given up can end safely after this one returned.
    std::thread([promise = std::move(promise), system = m_system, running = m_running, answered,
                    call = std::move(call)]() mutable {
        promise.start();
        promise.addResult(call(*system));
        // Counted out before the waiting side learns of the result and may call again.
        running->fetch_sub(1);
        promise.finish();
        answered->release();
    }).detach();

    answered->tryAcquire(1, int(limit.count()));
    // Nothing of this object is touched from here on: a job's or a question's thread may still
    // wait above when the program ends and the object has gone.
    if (!future.isResultReadyAt(0))
        return std::nullopt;
    return future.result();
}

PrinterListing BoundedPrinterSystem::listPrinters()
{
    const auto limit = m_queryLimit;
    auto call = [](PrinterSystem &system) { return system.listPrinters(); };
    if (std::optional<PrinterListing> listing = run<PrinterListing>(call, limit))
        return *listing;
    return { {}, {}, unanswered(limit) };
}

bool BoundedPrinterSystem::supportsQuality(const QString &printer, int16_t quality)
{
    auto call = [printer, quality](
                    PrinterSystem &system) { return system.supportsQuality(printer, quality); };
    return run<bool>(call, m_queryLimit).value_or(false);
}

std::optional<PaperArea> BoundedPrinterSystem::paperArea(const QString &printer)
{
    auto call = [printer](PrinterSystem &system) { return system.paperArea(printer); };
    return run<std::optional<PaperArea>>(call, m_queryLimit).value_or(std::nullopt);
}

SubmitResult BoundedPrinterSystem::submit(const PrintDocument &document)
{
    const auto limit = m_submitLimit;
    auto call = [document](PrinterSystem &system) { return system.submit(document); };
    if (std::optional<SubmitResult> result = run<SubmitResult>(call, limit))
        return *result;
    return { 0, unanswered(limit, PrinterFailure::Reason::NotAnsweredJobMayPrint) };
}

std::optional<PrinterFailure> BoundedPrinterSystem::setUserDefault(const QString &printer)
{
    auto call = [printer](PrinterSystem &system) { return system.setUserDefault(printer); };
    const auto limit = m_queryLimit;
    if (std::optional<std::optional<PrinterFailure>> failure
        = run<std::optional<PrinterFailure>>(call, limit))
        return *failure;
    return unanswered(limit);
}

void BoundedPrinterSystem::runDetached(std::function<void(PrinterSystem &)> work)
{
    // The copy shares the system and the count of running calls, so the work may outlast
    // this object.
    std::thread([bounded = *this, work = std::move(work)]() mutable { work(bounded); }).detach();
}
