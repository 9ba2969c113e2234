#pragma once

// The background monitor of an open printer object: twice a second, while no operation holds the printer,
// it polls the status and the accessories through the printer's port and turns what it sees into delegate
// events. Events of a poll are collected while the printer's lock is held and raised after it is released,
// in order, on the monitor's thread, so a delegate may call any operation of the printer (even wait for it).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "prelix10/core/Cancellation.hpp"
#include "prelix10/printer/DelegateManager.hpp"

namespace Prelix10 {

class OrvoPrinter;
class PrinterPort;

class PollingMonitor final : public Cancelable,
                             public CancelableProtocol,
                             public std::enable_shared_from_this<PollingMonitor> {
public:
    static constexpr std::chrono::milliseconds kPollInterval{500};
    static constexpr std::int64_t kPollTimeout = 10000;
    static constexpr std::size_t kReadSize = 1024;

    explicit PollingMonitor(std::weak_ptr<OrvoPrinter> printer) : printer_(std::move(printer)) {}

    // Starts the loop on the global queue and returns at once.
    void startMonitoring();
    // Asks the loop to end and returns at once; no event starts after this returns.
    void stopMonitoring();
    // For the close that stopped this monitor: when an event raised on another thread is running now,
    // keeps the completion and runs it right after that event returns (so that nothing follows it) and
    // answers true. A close requested from inside the running event itself is never held back.
    bool deferUntilEventEnds(std::function<void()>& completion, const PollingMonitor* requestedFromEventOf);
    // The monitor whose event runs on the calling thread, if any.
    static const PollingMonitor* raisingOnThisThread();
    // Loops running now, in the whole process (for tests of the lifecycle).
    static int runningLoops();

    void operationWillStart() override {}
    void runOperation(std::function<void()> completion) override;

private:
    // One pass; false when the loop ends.
    bool pass();
    void poll(PrinterPort& port, std::int64_t timeout, PendingEvents& events);
    std::vector<DelegateManager*> activeDelegateManagers();
    void createDelegateManagers(OrvoPrinter& printer);
    void takeDelegates(const PrinterDelegates& delegates);
    // Raises the events in order while the monitor is not stopped.
    void raise(const PendingEvents& events, OrvoPrinter& printer);
    // Sleeps one period; ends early only when the loop is to end.
    void sleepPeriod();
    bool shouldEnd() const;

    std::weak_ptr<OrvoPrinter> printer_;
    // Touched only by the loop.
    std::unique_ptr<PrinterDelegateManager> printerDelegateManager_;
    std::unique_ptr<DrawerDelegateManager> drawerDelegateManager_;
    std::unique_ptr<InputDeviceDelegateManager> inputDeviceDelegateManager_;
    std::unique_ptr<DisplayDelegateManager> displayDelegateManager_;

    std::mutex gate_;
    std::condition_variable wake_;
    bool raising_ = false;
    std::vector<std::function<void()>> deferred_;
};

}  // namespace Prelix10
