#include "prelix10/transport/BaseRawPort.hpp"

#include <chrono>
#include <memory>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/Semaphore.hpp"

namespace Prelix10 {

namespace {

std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }

Prelix10Error notOpened() { return Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::notOpened); }

struct ResultBox {
    std::optional<Prelix10Error> error;
    std::optional<ByteBlock> bytes;
};

}  // namespace

void RawPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) { PollingSleep::sleepFor(maxWait); }

InterfaceType BaseRawPort::interfaceType() const {
    const auto* h = hooks();
    return h ? h->internalInterfaceType() : InterfaceType::unknown;
}

std::vector<std::string> BaseRawPort::identifiers() const {
    const auto* h = hooks();
    return h ? h->internalIdentifiers() : std::vector<std::string>{};
}

bool BaseRawPort::isConnected() const {
    const auto* h = hooks();
    return h && h->internalIsConnected();
}

void BaseRawPort::awaitCompletion(const std::function<void(BaseRawPortProtocol::Completion)>& start) {
    auto box = std::make_shared<ResultBox>();
    auto semaphore = std::make_shared<Semaphore>(0);
    start([box, semaphore](std::optional<Prelix10Error> error) {
        box->error = std::move(error);
        semaphore->signal();
    });
    semaphore->wait();
    if (box->error) throw *box->error;
}

ByteBlock BaseRawPort::awaitRead(const char* method,
                                 const std::function<void(BaseRawPortProtocol::ReadCompletion)>& start) {
    auto box = std::make_shared<ResultBox>();
    auto semaphore = std::make_shared<Semaphore>(0);
    start([box, semaphore](std::optional<ByteBlock> bytes, std::optional<Prelix10Error> error) {
        box->bytes = std::move(bytes);
        box->error = std::move(error);
        semaphore->signal();
    });
    semaphore->wait();
    if (box->error) throw *box->error;
    if (!box->bytes) raiseUnexpectedState(Log(this, method, __LINE__), __LINE__);
    return std::move(*box->bytes);
}

void BaseRawPort::checkAvailability() {
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "checkAvailability()", __LINE__), __LINE__);
    h->internalCheckAvailability();
}

void BaseRawPort::findDevice(std::int64_t timeout) {
    checkAvailability();
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "findDevice(timeout:completion:)", __LINE__), __LINE__);
    awaitCompletion([&](BaseRawPortProtocol::Completion done) { h->internalFindDevice(timeout, std::move(done)); });
}

void BaseRawPort::open(std::int64_t timeout) {
    Stopwatch watch;
    watch.start();
    if (isConnected()) {
        raiseError(Log(this, "open(timeout:)", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::alreadyOpened));
    }
    findDevice(timeout - elapsedWhole(watch));
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "open(timeout:completion:)", __LINE__), __LINE__);
    const std::int64_t remaining = timeout - elapsedWhole(watch);
    awaitCompletion([&](BaseRawPortProtocol::Completion done) { h->internalOpen(remaining, std::move(done)); });
}

void BaseRawPort::close() {
    if (!isConnected()) return;
    if (auto* h = hooks()) h->internalClose();
}

ByteBlock BaseRawPort::readOnce(std::int64_t size) {
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "readOnce(size:completion:)", __LINE__), __LINE__);
    return awaitRead("readOnce(size:)",
                     [&](BaseRawPortProtocol::ReadCompletion done) { h->internalReadOnce(size, std::move(done)); });
}

ByteBlock BaseRawPort::readOnce(ByteRange range) {
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "readOnce(range:completion:)", __LINE__), __LINE__);
    return awaitRead("readOnce(range:)",
                     [&](BaseRawPortProtocol::ReadCompletion done) { h->internalReadOnce(range, std::move(done)); });
}

ByteBlock BaseRawPort::readOnceUnconsumed(std::int64_t size) {
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "readOnceUnconsumed(size:completion:)", __LINE__), __LINE__);
    return awaitRead("readOnceUnconsumed(size:)", [&](BaseRawPortProtocol::ReadCompletion done) {
        h->internalReadOnceUnconsumed(size, std::move(done));
    });
}

ByteBlock BaseRawPort::readUntilSize(std::int64_t size, std::int64_t timeout) {
    if (!isConnected()) raiseError(Log(this, "readUntilSize(size:timeout:)", __LINE__), notOpened());
    checkAvailability();
    ByteBlock collected;
    Stopwatch watch;
    watch.start();
    for (;;) {
        const std::int64_t missing = size - static_cast<std::int64_t>(collected.size());
        ByteBlock piece = readOnce(missing);
        collected.insert(collected.end(), piece.begin(), piece.end());
        if (static_cast<std::int64_t>(collected.size()) >= size) return collected;
        if (elapsedWhole(watch) >= timeout) {
            raiseError(Log(this, "readUntilSize(size:timeout:)", __LINE__),
                       Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
        waitForIncomingBytes(std::chrono::milliseconds(10));
    }
}

void BaseRawPort::clearReadBuffer() {
    if (!isConnected()) raiseError(Log(this, "clearReadBuffer()", __LINE__), notOpened());
    // Bounded: a peer that floods cannot keep the drain going for ever.
    for (int pass = 0; pass < 4096; ++pass) {
        if (readOnce(1024).empty()) return;
    }
}

void BaseRawPort::write(const ByteBlock& data, std::int64_t timeout) {
    if (!isConnected()) raiseError(Log(this, "write(data:timeout:)", __LINE__), notOpened());
    checkAvailability();
    auto* h = hooks();
    if (!h) raiseUnexpectedState(Log(this, "write(data:timeout:completion:)", __LINE__), __LINE__);
    awaitCompletion([&](BaseRawPortProtocol::Completion done) { h->internalWrite(data, timeout, std::move(done)); });
}

bool BaseRawPort::isSameDevice(const RawPort& port) const {
    if (interfaceType() != port.interfaceType()) return false;
    const auto mine = identifiers();
    const auto theirs = port.identifiers();
    for (const auto& a : mine) {
        for (const auto& b : theirs) {
            if (a == b) return true;
        }
    }
    return false;
}

}  // namespace Prelix10
