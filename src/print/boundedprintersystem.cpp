#include "boundedprintersystem.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QPromise>
#include <QTimer>

#include <thread>

BoundedPrinterSystem::BoundedPrinterSystem(std::shared_ptr<PrinterSystem> system,
    std::chrono::milliseconds queryLimit, std::chrono::milliseconds submitLimit)
    : m_system(std::move(system))
    , m_queryLimit(queryLimit)
    , m_submitLimit(submitLimit)
{ }

template<typename Result, typename Call>
std::optional<Result> BoundedPrinterSystem::run(Call call, std::chrono::milliseconds limit)
{
    // Only a call given up earlier can still be running here: the wait below holds back the
    // input that could start another one.
    if (m_running->load() > 0)
        return std::nullopt;
    QPromise<Result> promise;
    QFutureWatcher<Result> watcher;
    watcher.setFuture(promise.future());
    m_running->fetch_add(1);
    // The thread owns what it uses, so a call given up can end safely after this one returned.
    std::thread([promise = std::move(promise), system = m_system, running = m_running,
                    call = std::move(call)]() mutable {
        promise.start();
        promise.addResult(call(*system));
        // Counted out before the waiting side learns of the result and may call again.
        running->fetch_sub(1);
        promise.finish();
    }).detach();

    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    if (!watcher.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!watcher.future().isResultReadyAt(0))
        return std::nullopt;
    return watcher.future().result();
}

PrinterFailure BoundedPrinterSystem::unanswered(std::chrono::milliseconds limit) const
{
    return { 0,
        QStringLiteral("the printing system has not answered within %1 s")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) };
}

PrinterListing BoundedPrinterSystem::listPrinters()
{
    auto call = [](PrinterSystem &system) { return system.listPrinters(); };
    if (std::optional<PrinterListing> listing = run<PrinterListing>(call, m_queryLimit))
        return *listing;
    return { {}, {}, unanswered(m_queryLimit) };
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
    auto call = [document](PrinterSystem &system) { return system.submit(document); };
    if (std::optional<SubmitResult> result = run<SubmitResult>(call, m_submitLimit))
        return *result;
    PrinterFailure failure = unanswered(m_submitLimit);
    failure.description += QStringLiteral("; the job may still be printed");
    return { 0, failure };
}

std::optional<PrinterFailure> BoundedPrinterSystem::setUserDefault(const QString &printer)
{
    auto call = [printer](PrinterSystem &system) { return system.setUserDefault(printer); };
    if (std::optional<std::optional<PrinterFailure>> failure
        = run<std::optional<PrinterFailure>>(call, m_queryLimit))
        return *failure;
    return unanswered(m_queryLimit);
}
