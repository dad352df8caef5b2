#pragma once

#include "printersystem.h"

#include <atomic>
#include <chrono>
#include <memory>

// A printing system whose every call runs on a thread of its own and is given up after a time
// limit, so a server that accepts but never answers cannot hold a job or a question forever.
// The caller waits for the answer or the limit, handling no events: the window's thread never
// calls it, it asks through askPrinterSystem. A call given up is left to end by itself, and
// until it has, further calls fail at once instead of piling up threads; so does a call made
// while another thread's call runs. Safe to call from any other thread; a waiting call may
// outlive this object.
class BoundedPrinterSystem : public PrinterSystem
{
public:
    BoundedPrinterSystem(std::shared_ptr<PrinterSystem> system,
        std::chrono::milliseconds queryLimit, std::chrono::milliseconds submitLimit);

    PrinterListing listPrinters() override;
    bool supportsQuality(const QString &printer, int16_t quality) override;
    std::optional<PaperArea> paperArea(const QString &printer) override;
    SubmitResult submit(const PrintDocument &document) override;
    std::optional<PrinterFailure> setUserDefault(const QString &printer) override;
    // The work is handed a copy that shares this object's state, so it may outlive it.
    void runDetached(std::function<void(PrinterSystem &)> work) override;

private:
    template<typename Result, typename Call>
    std::optional<Result> run(Call call, std::chrono::milliseconds limit);

    std::shared_ptr<PrinterSystem> m_system;
    std::chrono::milliseconds m_queryLimit;
    std::chrono::milliseconds m_submitLimit;
    std::shared_ptr<std::atomic<int>> m_running = std::make_shared<std::atomic<int>>(0);
};
