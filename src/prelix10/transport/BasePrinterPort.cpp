#include <chrono>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

namespace {
std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }
}  // namespace

void PrinterPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) { PollingSleep::sleepFor(maxWait); }

BasePrinterPortProtocol& BasePrinterPort::hooks(const char* method, int line) {
    auto* h = dynamic_cast<BasePrinterPortProtocol*>(this);
    if (!h) {
        Log log(static_cast<const void*>(this), "BasePrinterPort", method, line);
        raiseError(log, Prelix10Error(Prelix10ErrorKind::unknown, makeUnexpectedStateMessage("BasePrinterPort", line)));
    }
    return *h;
}

void BasePrinterPort::initialize(std::int64_t timeout) { hooks("initialize(timeout:)", 30).internalInitialize(timeout); }

std::shared_ptr<const OrvoPrinterStatus> BasePrinterPort::getStatusWithCheckETBCounter(std::int64_t timeout) {
    auto status = hooks("getStatusWithCheckETBCounter(timeout:)", 42).internalGetStatusWithCheckETBCounter(timeout);
    if (status && Prelix10Logger::shared().isLogging()) {
        Log(this, "getStatusWithCheckETBCounter(timeout:)", __LINE__).write("Status - " + status->description());
    }
    return status;
}

std::shared_ptr<const OrvoPrinterStatus> BasePrinterPort::getStatus(std::int64_t timeout) {
    auto status = hooks("getStatus(timeout:)", 54).internalGetStatus(timeout);
    if (status && Prelix10Logger::shared().isLogging()) {
        Log(this, "getStatus(timeout:)", __LINE__).write("Status - " + status->description());
    }
    return status;
}

void BasePrinterPort::open(std::int64_t timeout) {
    Stopwatch watch;
    watch.start();
    rawPort_->open(timeout - elapsedWhole(watch));
    initialize(timeout - elapsedWhole(watch));
}

void BasePrinterPort::close() {
    if (auto* h = dynamic_cast<BasePrinterPortProtocol*>(this)) h->internalClose();
}

ByteBlock BasePrinterPort::readOnce(std::int64_t size) { return hooks("readOnce(size:)", 83).internalReadOnce(size); }

ByteBlock BasePrinterPort::readOnce(ByteRange range) { return hooks("readOnce(range:)", 93).internalReadOnce(range); }

ByteBlock BasePrinterPort::readOnceUnconsumed(std::int64_t size) {
    return hooks("readOnceUnconsumed(size:)", 103).internalReadOnceUnconsumed(size);
}

ByteBlock BasePrinterPort::readUntilSize(std::int64_t size, std::int64_t timeout) {
    Stopwatch watch;
    watch.start();
    ByteBlock collected;
    for (;;) {
        ByteBlock piece = readOnce(size - static_cast<std::int64_t>(collected.size()));
        collected.insert(collected.end(), piece.begin(), piece.end());
        if (static_cast<std::int64_t>(collected.size()) >= size) return collected;
        if (elapsedWhole(watch) >= timeout) {
            raiseError(Log(this, "readUntilSize(size:timeout:)", __LINE__),
                       Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
        rawPort_->waitForIncomingBytes(std::chrono::milliseconds(10));
    }
}

}  // namespace Prelix10
