#include "prelix10/control/OrvoPrinterControl.hpp"

#include <chrono>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/PrinterStatusCommand.hpp"
#include "prelix10/transport/OrvoAutomaticStatus.hpp"

namespace Prelix10 {

namespace {

struct Budget {
    explicit Budget(std::int64_t t) : timeout(t) { watch.start(); }
    std::int64_t elapsed() const { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }
    std::int64_t remaining() const { return timeout - elapsed(); }
    bool passed() const { return elapsed() >= timeout; }
    std::int64_t timeout;
    Stopwatch watch;
};

// The pause of one status poll runs its full length. Waking on arriving bytes would end it on the reply to
// the request this cycle has just written (or on any block a chatty board sends), and the printer would be
// asked for its status at network round-trip speed instead of once per pause.
void pause(std::chrono::milliseconds duration) { PollingSleep::sleepFor(duration); }

Prelix10Error deviceHasError(const std::shared_ptr<const OrvoPrinterStatus>& status) {
    return Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::deviceHasError,
                         Prelix10ErrorCode::deviceHasError, status);
}

}  // namespace

ByteBlock OrvoPrinterControl::beginPreamble() {
    return {0x1B, 0x2A, 0x72, 0x42, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00, 0x1B, 0x1E, 0x45, 0x00, 0x1B, 0x06, 0x01};
}

ByteBlock OrvoPrinterControl::endOfJobMarker() { return {0x17, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00}; }

bool OrvoPrinterControl::isReadyForJob(const OrvoPrinterStatus& status) {
    const auto& d = *status.detailInternal();
    return d.etbCounter() == 0 && !d.paperPresent().value_or(false) && d.externalDevice12Ready().value_or(true) &&
           d.externalDevice34Ready().value_or(true);
}

void OrvoPrinterControl::beginCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "beginCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    std::shared_ptr<const OrvoPrinterStatus> last = port.getStatus(budget.remaining());
    if (last->hasError()) raiseError(log, deviceHasError(last));
    port.write(beginPreamble(), budget.remaining());
    try {
        for (;;) {
            last = port.getStatus(budget.remaining());
            if (last->hasError()) throw deviceHasError(last);
            // Ready wins over the deadline: a ready status read late still starts the job.
            if (isReadyForJob(*last)) break;
            port.write(PrinterStatusCommand::Orvo::automaticStatusRequest(), budget.remaining());
            if (budget.passed()) throw Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::initializeFailed);
            pause(std::chrono::milliseconds(100));
        }
    } catch (const Prelix10Error& failure) {
        if (!budget.passed()) raiseError(log, failure);
        const bool holdingPaper = last->detailInternal()->paperPresent().value_or(false);
        raiseError(log, holdingPaper ? Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::printerIsHoldingPaper,
                                                     Prelix10ErrorCode::printerHoldingPaper, last)
                                     : Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::initializeFailed,
                                                     Prelix10ErrorCode::none, last));
    }
    port.write(readyCommand(), budget.remaining());
}

void OrvoPrinterControl::endCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "endCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    const Prelix10Error timedOut(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::printTimedOut,
                                 Prelix10ErrorCode::printingTimeout);
    port.write(endOfJobMarker(), budget.remaining());
    for (;;) {
        std::shared_ptr<const OrvoPrinterStatus> status;
        try {
            status = port.getStatus(budget.remaining());
        } catch (const Prelix10Error& failure) {
            raiseError(log, budget.passed() ? timedOut : failure);
        }
        // What the status says comes before the deadline: a job reported printed is never "timed out".
        if (status->hasError()) raiseError(log, deviceHasError(status));
        if (status->detailInternal()->etbCounter() == 1) return;
        if (budget.passed()) raiseError(log, timedOut);
        pause(std::chrono::milliseconds(isSpoolPrintSupported() ? 200 : 100));
    }
}

void OrvoPrinterControl::disableAutomaticStatus(PrinterPort& port, std::int64_t timeout) {
    OrvoAutomaticStatus::disable(port, timeout);
}

}  // namespace Prelix10
