#include "prelix10/control/EscPosPrinterControl.hpp"

#include <chrono>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/transport/PollingSleep.hpp"

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

// The pause of one counter poll runs its full length: each cycle opens a status connection, and the counter
// reply it waits for may arrive at any time, so waking on bytes would only poll the printer faster.
void pause() { PollingSleep::sleepFor(std::chrono::milliseconds(100)); }

Prelix10Error deviceHasError(const std::shared_ptr<const OrvoPrinterStatus>& status) {
    return Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::deviceHasError,
                         Prelix10ErrorCode::deviceHasError, status);
}

Prelix10Error printTimedOut() {
    return Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::printTimedOut,
                         Prelix10ErrorCode::printingTimeout);
}

Prelix10Error badResponse() {
    return Prelix10Error(Prelix10ErrorKind::badResponse, Prelix10ErrorMessage::badResponseFromDevice);
}

bool counterReads(const OrvoPrinterStatus& status, std::int64_t value) {
    const auto& counter = status.detailInternal()->etbCounter();
    return counter && *counter == value;
}

}  // namespace

ByteBlock EscPosPrinterControl::beginBlock() {
    return {0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00, 0x1B, 0x1D, 0x03, 0x02, 0x00, 0x00, 0x1B, 0x1D, 0x03, 0x00, 0x00, 0x00};
}

ByteBlock EscPosPrinterControl::endBlock() {
    return {0x1B, 0x1D, 0x03, 0x01, 0x00, 0x00, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00, 0x1B, 0x1D, 0x03, 0x00, 0x00, 0x00};
}

void EscPosPrinterControl::beginCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "beginCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    std::shared_ptr<const OrvoPrinterStatus> last = port.getStatus(budget.remaining());
    if (last->hasError()) raiseError(log, deviceHasError(last));
    port.write(beginBlock(), budget.remaining());
    try {
        for (;;) {
            // An error reported while the counter is cleared does not stop the wait: only the counter counts.
            last = port.getStatusWithCheckETBCounter(budget.remaining());
            if (counterReads(*last, 0)) break;
            if (budget.passed()) {
                throw Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::initializeFailed);
            }
            pause();
        }
    } catch (const Prelix10Error& failure) {
        if (!budget.passed()) raiseError(log, failure);
        raiseError(log, Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::initializeFailed,
                                      Prelix10ErrorCode::none, last));
    }
    port.write(readyCommand(), budget.remaining());
    port.initialize(budget.remaining());
}

void EscPosPrinterControl::endCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "endCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    port.write(endBlock(), budget.remaining());
    for (;;) {
        std::shared_ptr<const OrvoPrinterStatus> status;
        try {
            status = port.getStatusWithCheckETBCounter(budget.remaining());
        } catch (const Prelix10Error& failure) {
            raiseError(log, budget.passed() ? printTimedOut() : failure);
        }
        // What the status says comes before the deadline: a job reported printed is never "timed out".
        if (status->hasError()) raiseError(log, deviceHasError(status));
        if (counterReads(*status, 1)) return;
        if (budget.passed()) raiseError(log, printTimedOut());
        pause();
    }
}

void EscPosMobilePrinterControl::beginCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "beginCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    const auto status = port.getStatus(budget.remaining());
    if (status->hasError()) raiseError(log, deviceHasError(status));
    port.write(beginBlock(), budget.remaining());
    const ByteBlock reply = port.readUntilSize(1, budget.remaining());
    if (reply.empty() || !isGoodHandshake(reply[0])) raiseError(log, badResponse());
    port.write(handshakeDone(), budget.remaining());
}

void EscPosMobilePrinterControl::endCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "endCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    port.write(handshakeRequest(), budget.remaining());
    ByteBlock reply;
    try {
        reply = port.readUntilSize(1, budget.remaining());
    } catch (const Prelix10Error& failure) {
        raiseError(log, budget.passed() ? printTimedOut() : failure);
    }
    if (reply.empty() || !isGoodHandshake(reply[0])) raiseError(log, badResponse());
    const auto status = port.getStatus(budget.remaining());
    if (status->hasError()) raiseError(log, deviceHasError(status));
}

}  // namespace Prelix10
