#pragma once

#include "printersystem.h"

#include <atomic>
#include <chrono>
#include <memory>

// A printing system whose every call runs on a thread of its own and is given up after a time
// limit, so a server that accepts but never answers cannot freeze the windows. While a call
// waits, the windows are painted but user input is held back; a call given up is left to end
// by itself, and until it has, further calls fail at once instead of piling up threads.
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

private:
    template<typename Result, typename Call>
    std::optional<Result> run(Call call, std::chrono::milliseconds limit);
    PrinterFailure unanswered(std::chrono::milliseconds limit) const;

    std::shared_ptr<PrinterSystem> m_system;
    std::chrono::milliseconds m_queryLimit;
    std::chrono::milliseconds m_submitLimit;
    std::shared_ptr<std::atomic<int>> m_running = std::make_shared<std::atomic<int>>(0);
};
