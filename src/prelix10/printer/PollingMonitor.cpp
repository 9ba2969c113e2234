#include "prelix10/printer/PollingMonitor.hpp"

#include <thread>

#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

namespace {

thread_local const PollingMonitor* tlsRaising = nullptr;
std::atomic<int> loopsRunning{0};

Prelix10Error errorOfCurrentException() {
    try {
        throw;
    } catch (const Prelix10Error& error) {
        return error;
    } catch (...) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    }
}

}  // namespace

const PollingMonitor* PollingMonitor::raisingOnThisThread() { return tlsRaising; }
int PollingMonitor::runningLoops() { return loopsRunning.load(); }

void PollingMonitor::startMonitoring() {
    try {
        startOperation();
    } catch (...) {
        // raiseUnexpectedState writes the one "Error - " line itself.
        raiseUnexpectedState(Log(this, "startMonitoring()", 8), 8);
    }
}

void PollingMonitor::stopMonitoring() {
    {
        std::lock_guard guard(gate_);
        stopOperation();
    }
    wake_.notify_all();
}

bool PollingMonitor::deferUntilEventEnds(std::function<void()>& completion, const PollingMonitor* requestedFromEventOf) {
    std::lock_guard guard(gate_);
    if (!raising_ || requestedFromEventOf == this) return false;
    deferred_.push_back(std::move(completion));
    return true;
}

bool PollingMonitor::shouldEnd() const { return cancellationToken()->isCancelled() || GlobalQueue::isShuttingDown(); }

void PollingMonitor::runOperation(std::function<void()> completion) {
    auto self = shared_from_this();
    loopsRunning.fetch_add(1);
    GlobalQueue::async([self, completion = std::move(completion)] {
        try {
            bool started = false;
            if (auto printer = self->printer_.lock()) {
                self->createDelegateManagers(*printer);
                started = true;
            }
            while (started && self->pass()) self->sleepPeriod();
        } catch (...) {
            // Nothing escapes the loop's thread.
        }
        completion();
        loopsRunning.fetch_sub(1);
    });
}

void PollingMonitor::sleepPeriod() {
    // Sliced so that process exit is seen within a few milliseconds; a stop wakes it at once. Nothing else
    // ends the period early, so polls never come faster than one per period.
    const auto until = std::chrono::steady_clock::now() + kPollInterval;
    std::unique_lock guard(gate_);
    while (!shouldEnd()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) return;
        wake_.wait_for(guard, std::min<std::chrono::steady_clock::duration>(until - now, std::chrono::milliseconds(20)));
    }
}

bool PollingMonitor::pass() {
    // The printer is held only for the pass: when the app lets it go meanwhile, it goes at the end of it.
    auto printer = printer_.lock();
    if (!printer || shouldEnd()) return false;
    PendingEvents events;
    std::optional<Prelix10Error> failure;
    {
        std::unique_lock lock(printer->lock_, std::try_to_lock);
        if (!lock.owns_lock()) return true;  // an operation runs: skip this pass
        // A close may have run between the check above and the lock; and a reopened printer has a new monitor.
        if (shouldEnd() || printer->monitor_.get() != this || !printer->isOpened()) return false;
        if (!printer->port_) return false;
        takeDelegates(printer->delegates());
        try {
            poll(*printer->port_, kPollTimeout, events);
        } catch (...) {
            failure = errorOfCurrentException();
        }
    }
    raise(events, *printer);
    if (!failure) return true;
    PendingEvents errors;
    if (printerDelegateManager_) errors.push_back(printerDelegateManager_->errorEvent(*failure));
    if (drawerDelegateManager_) errors.push_back(drawerDelegateManager_->errorEvent(*failure));
    if (inputDeviceDelegateManager_) errors.push_back(inputDeviceDelegateManager_->errorEvent(*failure));
    if (displayDelegateManager_) errors.push_back(displayDelegateManager_->errorEvent(*failure));
    raise(errors, *printer);
    printer->closeFromMonitor(this);
    return false;
}

void PollingMonitor::createDelegateManagers(OrvoPrinter& printer) {
    const auto delegates = printer.delegates();
    printerDelegateManager_ = std::make_unique<PrinterDelegateManager>(delegates.printer);
    drawerDelegateManager_ = std::make_unique<DrawerDelegateManager>(delegates.drawer);
    inputDeviceDelegateManager_.reset();
    displayDelegateManager_.reset();
    const auto information = printer.informationRecord();
    if (!information) return;
    const auto spec = PrinterSpecTable::findSpec(information->model);
    if (!spec) return;
    if (spec->supportInputDevice) {
        inputDeviceDelegateManager_ = std::make_unique<InputDeviceDelegateManager>(delegates.inputDevice);
    }
    if (spec->supportDisplay) displayDelegateManager_ = std::make_unique<DisplayDelegateManager>(delegates.display);
}

void PollingMonitor::takeDelegates(const PrinterDelegates& delegates) {
    if (printerDelegateManager_) printerDelegateManager_->setDelegate(delegates.printer);
    if (drawerDelegateManager_) drawerDelegateManager_->setDelegate(delegates.drawer);
    if (inputDeviceDelegateManager_) inputDeviceDelegateManager_->setDelegate(delegates.inputDevice);
    if (displayDelegateManager_) displayDelegateManager_->setDelegate(delegates.display);
}

std::vector<DelegateManager*> PollingMonitor::activeDelegateManagers() {
    std::vector<DelegateManager*> active;
    if (printerDelegateManager_ && printerDelegateManager_->hasDelegate()) active.push_back(printerDelegateManager_.get());
    if (drawerDelegateManager_ && drawerDelegateManager_->hasDelegate()) active.push_back(drawerDelegateManager_.get());
    if (inputDeviceDelegateManager_ && inputDeviceDelegateManager_->hasDelegate()) {
        active.push_back(inputDeviceDelegateManager_.get());
    }
    if (displayDelegateManager_ && displayDelegateManager_->hasDelegate()) active.push_back(displayDelegateManager_.get());
    return active;
}

void PollingMonitor::poll(PrinterPort& port, std::int64_t timeout, PendingEvents& events) {
    Stopwatch stopwatch;
    stopwatch.start();
    const auto remaining = [&] {
        return Deadline::remaining(timeout, static_cast<std::int64_t>(stopwatch.elapsedMilliseconds()));
    };
    const auto active = activeDelegateManagers();
    if (active.empty()) return;
    ByteBlock request;
    bool needStatus = false;
    for (auto* manager : active) {
        manager->beginPoll();
        const auto commands = manager->requestCommands();
        request.insert(request.end(), commands.begin(), commands.end());
        needStatus = needStatus || manager->needPrinterStatus();
    }
    if (needStatus) {
        const auto status = port.getStatus(remaining());
        for (auto* manager : active) manager->handlePrinterStatus(*status, events);
    } else {
        port.clearReadBuffer();
    }
    if (request.empty()) return;
    port.write(request, remaining());
    ByteBlock reply;
    std::vector<DelegateManager*> pending = active;
    for (;;) {
        const auto bytes = port.readOnce(static_cast<std::int64_t>(kReadSize));
        reply.insert(reply.end(), bytes.begin(), bytes.end());
        std::erase_if(pending, [&](DelegateManager* manager) { return manager->handleResponse(reply, events); });
        if (pending.empty()) return;
        if (static_cast<std::int64_t>(stopwatch.elapsedMilliseconds()) >= timeout) return;
        if (shouldEnd()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void PollingMonitor::raise(const PendingEvents& events, OrvoPrinter& printer) {
    for (const auto& event : events) {
        {
            std::lock_guard guard(gate_);
            if (cancellationToken()->isCancelled()) return;
            raising_ = true;
        }
        tlsRaising = this;
        try {
            event(printer);
        } catch (...) {
            // A delegate's exception stays with the delegate.
        }
        tlsRaising = nullptr;
        std::vector<std::function<void()>> deferred;
        {
            std::lock_guard guard(gate_);
            raising_ = false;
            deferred.swap(deferred_);
        }
        for (auto& completion : deferred) {
            try {
                completion();
            } catch (...) {
            }
        }
    }
}

}  // namespace Prelix10
