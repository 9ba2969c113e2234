#include "prelix10/transport/EAAccessoryPort.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/GenericCache.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/EAAccessoryPortSettings.hpp"
#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/protocol/WrittenBytesLog.hpp"

namespace Prelix10 {

struct EAAccessoryPort::State {
    explicit State(std::string id) : identifier(std::move(id)) {}

    const std::string identifier;

    mutable std::mutex infoMutex;
    std::shared_ptr<Accessory> accessory;
    std::optional<OrvoConnectionIdentifier> connectionIdentifier;

    // Guards the session and its streams. The pump holds it for each pass except its pause; close takes it
    // too. Lock order: streamLock, then writeLock; wakeMutex is never held while either is taken.
    std::mutex streamLock;
    std::shared_ptr<AccessorySession> session;
    std::shared_ptr<AccessoryInputStream> input;
    std::shared_ptr<AccessoryOutputStream> output;
    std::atomic<bool> connected{false};
    std::atomic<std::uint64_t> closes{0};
    std::atomic<bool> destroyed{false};

    // Guards the bytes still to be written; writeOffset bytes of writeData have been handed on.
    mutable std::mutex writeLock;
    ByteBlock writeData;
    std::size_t writeOffset = 0;
    std::uint64_t writeSerial = 0;
    // The last write whose bytes were dropped unsent (by a close or a lost link).
    std::uint64_t discardedSerial = 0;

    GenericCache<std::uint8_t> responseCache{kResponseCacheSize};

    // Wakes the pump (stream events, new write data, close), writers (bytes handed on) and readers (bytes
    // received).
    std::mutex wakeMutex;
    std::condition_variable wake;
    std::uint64_t pumpEvents = 0;
    std::uint64_t arrivals = 0;
    std::uint64_t arrivalsSeen = 0;
    bool linkLost = false;

    std::mutex threadMutex;
    std::thread pumpThread;

    std::shared_ptr<Accessory> accessoryCopy() const {
        std::lock_guard lock(infoMutex);
        return accessory;
    }

    void notify(bool forPump, bool arrival = false) {
        {
            std::lock_guard lock(wakeMutex);
            if (forPump) ++pumpEvents;
            if (arrival) ++arrivals;
        }
        wake.notify_all();
    }
};

namespace {

using State = EAAccessoryPort::State;

std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }

Prelix10Error openFailed() { return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed); }
Prelix10Error writeFailed() { return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed); }

constexpr std::size_t kLoggedBytes = 256;

// The log text of a byte block, bounded: long blocks show their first bytes and their length.
std::string describeBounded(std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= kLoggedBytes) return Util::describe(bytes);
    return Util::describe(bytes.first(kLoggedBytes)) + " ... (" + std::to_string(bytes.size()) + " bytes)";
}

void logError(const Log& log, const Prelix10Error& error) {
    if (Prelix10Logger::shared().isLogging()) log.write("Error - " + Util::describe(error));
}

// Delivers the unexpected-state error of a log site to a completion.
template <typename Completion>
void completeWithUnexpectedState(const Log& log, int line, const Completion& completion) {
    try {
        raiseUnexpectedState(log, line);
    } catch (const Prelix10Error& error) {
        completion(error);
    }
}

// The stream handlers hold the state weakly and only wake the pump; a stream that failed or ended marks
// the link as lost, and the pump ends the session on its next pass.
AccessoryStreamEventHandler eventHandlerFor(const std::shared_ptr<State>& state) {
    return [weak = std::weak_ptr<State>(state)](AccessoryStreamEvent event) {
        auto state = weak.lock();
        if (!state) return;
        {
            std::lock_guard lock(state->wakeMutex);
            ++state->pumpEvents;
            if (event == AccessoryStreamEvent::errorOccurred || event == AccessoryStreamEvent::endEncountered) {
                state->linkLost = true;
            }
        }
        state->wake.notify_all();
    };
}

// Drops pending write data; a write still waiting for it then fails. Called with writeLock held.
void discardWriteDataLocked(State& state) {
    if (state.writeOffset < state.writeData.size()) state.discardedSerial = state.writeSerial;
    state.writeData.clear();
    state.writeOffset = 0;
}

// Ends the session: both streams closed, write data dropped. Called with streamLock held.
void endSessionLocked(State& state) {
    if (state.output) {
        state.output->setEventHandler(nullptr);
        state.output->close();
    }
    if (state.input) {
        state.input->setEventHandler(nullptr);
        state.input->close();
    }
    state.output.reset();
    state.input.reset();
    state.session.reset();
    state.connected = false;
    std::lock_guard write(state.writeLock);
    discardWriteDataLocked(state);
}

// Joins the pump thread, unless this is the pump thread itself: then it is left to end by itself after the
// current pass (detached when the port is going away, else joined by the next open or the destructor).
void joinPump(State& state, bool detachIfCurrent) {
    std::thread thread;
    {
        std::lock_guard lock(state.threadMutex);
        if (!state.pumpThread.joinable()) return;
        if (state.pumpThread.get_id() == std::this_thread::get_id()) {
            if (detachIfCurrent) state.pumpThread.detach();
            return;
        }
        thread = std::move(state.pumpThread);
    }
    thread.join();
}

void closeState(State& state, bool detachIfCurrent) {
    {
        std::lock_guard stream(state.streamLock);
        ++state.closes;
        endSessionLocked(state);
    }
    state.responseCache.clear();
    state.notify(true);
    joinPump(state, detachIfCurrent);
}

// Waits up to the pause for something the pump acts on; false once the port is going away.
void pumpPause(State& state, std::uint64_t eventsBefore) {
    std::unique_lock lock(state.wakeMutex);
    state.wake.wait_for(lock, EAAccessoryPort::kPumpInterval, [&] {
        return state.pumpEvents != eventsBefore || state.linkLost || state.destroyed;
    });
}

void pump(const std::shared_ptr<State>& state, const std::string& className) {
    const Log log(nullptr, className, "pump()", __LINE__);
    std::array<std::uint8_t, EAAccessoryPort::kReadSize> buffer{};
    std::unique_lock stream(state->streamLock);
    while (state->session) {
        std::uint64_t eventsBefore;
        bool lost;
        {
            std::lock_guard lock(state->wakeMutex);
            eventsBefore = state->pumpEvents;
            lost = state->linkLost;
        }
        if (lost) {
            if (Prelix10Logger::shared().isLogging()) log.write("Connection closed by the device.");
            endSessionLocked(*state);
            break;
        }
        if (state->input->hasBytesAvailable()) {
            const long count = state->input->read(buffer.data(), buffer.size());
            if (count > 0) {
                const auto taken = std::span<const std::uint8_t>(buffer.data(),
                                                                 std::min<std::size_t>(static_cast<std::size_t>(count),
                                                                                       buffer.size()));
                state->responseCache.append(taken);
                if (Prelix10Logger::shared().isLogging()) log.write("Received - " + describeBounded(taken));
                state->notify(false, true);
            } else if (count < 0 && Prelix10Logger::shared().isLogging()) {
                // A failed read takes nothing; the link's end, if that is what it was, comes as a stream event.
                log.write("Read failed.");
            }
        }
        {
            std::lock_guard write(state->writeLock);
            const std::size_t pending = state->writeData.size() - state->writeOffset;
            if (pending > 0 && state->output->hasSpaceAvailable()) {
                const std::uint8_t* from = state->writeData.data() + state->writeOffset;
                const long count = state->output->write(from, pending);
                if (count < 0) {
                    if (Prelix10Logger::shared().isLogging()) log.write("Write failed.");
                } else {
                    const auto sent = std::min<std::size_t>(static_cast<std::size_t>(count), pending);
                    if (Prelix10Logger::shared().isLogging()) {
                        log.write("Write - " + WrittenBytesLog::describe(state->writeData, state->writeOffset,
                                                                         state->writeOffset + sent, kLoggedBytes));
                    }
                    state->writeOffset += sent;
                    if (state->writeOffset == state->writeData.size()) {
                        state->writeData.clear();
                        state->writeOffset = 0;
                    }
                    if (sent > 0) state->notify(false);
                }
            }
        }
        stream.unlock();
        pumpPause(*state, eventsBefore);
        stream.lock();
    }
    stream.unlock();
    // Writers and readers waiting on this session hear that it ended.
    state->notify(false);
}

void openAndPump(const std::shared_ptr<State>& state, const std::string& className, std::int64_t timeout,
                 const Stopwatch& watch, std::uint64_t closesAtStart, const BaseRawPortProtocol::Completion& completion) {
    const Log log(nullptr, className, "open(timeout:completion:)", __LINE__);
    auto fail = [&](const Prelix10Error& error) {
        logError(log, error);
        completion(error);
    };
    auto accessory = state->accessoryCopy();
    if (!accessory) {
        completeWithUnexpectedState(log, __LINE__, completion);
        return;
    }
    auto interrupted = [&] { return state->destroyed || state->closes != closesAtStart; };

    std::shared_ptr<AccessorySession> session;
    for (;;) {
        if (interrupted()) return fail(openFailed());
        try {
            session = AccessoryBackend::manager()->openSession(accessory, EAAccessoryPortSettings::kProtocolString);
        } catch (const Prelix10Error& error) {
            // Held by another process: no retry frees it within the open's time.
            return fail(error);
        }
        if (session) break;
        if (elapsedWhole(watch) >= timeout) return fail(openFailed());
        std::unique_lock lock(state->wakeMutex);
        state->wake.wait_for(lock, std::chrono::milliseconds(10), [&] { return interrupted(); });
    }

    auto input = session->inputStream();
    auto output = session->outputStream();
    const auto handler = eventHandlerFor(state);
    if (input) {
        input->setEventHandler(handler);
        input->open();
    }
    if (output) {
        output->setEventHandler(handler);
        output->open();
    }
    auto dropStreams = [&] {
        if (output) {
            output->setEventHandler(nullptr);
            output->close();
        }
        if (input) {
            input->setEventHandler(nullptr);
            input->close();
        }
    };
    if (!input || !output) {
        dropStreams();
        return fail(Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError));
    }
    {
        std::lock_guard stream(state->streamLock);
        // A close or the port's end while the session was being set up has the last word.
        if (interrupted()) {
            dropStreams();
            return fail(openFailed());
        }
        {
            std::lock_guard lock(state->wakeMutex);
            state->linkLost = false;
        }
        state->session = std::move(session);
        state->input = std::move(input);
        state->output = std::move(output);
        state->connected = true;
    }
    completion(std::nullopt);
    pump(state, className);
}

}  // namespace

EAAccessoryPort::EAAccessoryPort(std::string identifier)
    : BaseRawPort(identifier, identifier), state_(std::make_shared<State>(identifier)) {}

EAAccessoryPort::~EAAccessoryPort() {
    state_->destroyed = true;
    closeState(*state_, true);
}

bool EAAccessoryPort::internalIsConnected() const { return state_->connected; }

InterfaceType EAAccessoryPort::internalInterfaceType() const {
    const auto* typed = dynamic_cast<const EAAccessoryPortProtocol*>(this);
    if (!typed) return InterfaceType::unknown;
    switch (typed->accessoryType()) {
        case EAAccessoryType::bluetooth: return InterfaceType::bluetooth;
        case EAAccessoryType::usb: return InterfaceType::usb;
        case EAAccessoryType::unknown: break;
    }
    return InterfaceType::unknown;
}

std::vector<std::string> EAAccessoryPort::internalIdentifiers() const {
    std::shared_ptr<Accessory> accessory;
    std::optional<OrvoConnectionIdentifier> identifier;
    {
        std::lock_guard lock(state_->infoMutex);
        accessory = state_->accessory;
        identifier = state_->connectionIdentifier;
    }
    if (!accessory) return {};
    // The accessory's name is its model's name, which two printers of one model share: it tells the device
    // apart only when nothing else does, so two identical printers with their own serial numbers or
    // addresses are two devices.
    std::vector<std::string> list;
    const std::string serial = FormatConverter::normalizeMacAddress(accessory->serialNumber());
    if (!serial.empty()) list.push_back(serial);
    if (identifier && identifier->bluetoothAddress) list.push_back(*identifier->bluetoothAddress);
    if (identifier && identifier->usbSerialNumber) list.push_back(*identifier->usbSerialNumber);
    if (list.empty()) list.push_back(accessory->name());
    return list;
}

void EAAccessoryPort::internalCheckAvailability() {
    if (auto* typed = dynamic_cast<EAAccessoryPortProtocol*>(this)) typed->checkAccessoryAvailability();
}

void EAAccessoryPort::internalFindDevice(std::int64_t timeout, Completion completion) {
    const Log log(this, "getAccessory(identifier:timeout:completion:)", __LINE__);
    if (accessory()) {
        completion(std::nullopt);
        return;
    }
    const auto* typed = dynamic_cast<const EAAccessoryPortProtocol*>(this);
    if (!typed || typed->accessoryType() == EAAccessoryType::unknown) {
        completeWithUnexpectedState(log, __LINE__, completion);
        return;
    }
    AccessoryMatch match;
    try {
        match = EAAccessoryPortSettings::accessoryLookup()(typed->accessoryType(), identifier(), timeout);
    } catch (const Prelix10Error& error) {
        completion(error);
        return;
    } catch (...) {
        const Prelix10Error error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound);
        logError(log, error);
        completion(error);
        return;
    }
    if (!match.accessory) {
        completeWithUnexpectedState(log, __LINE__, completion);
        return;
    }
    {
        std::lock_guard lock(state_->infoMutex);
        state_->accessory = std::move(match.accessory);
        state_->connectionIdentifier = std::move(match.connectionIdentifier);
    }
    completion(std::nullopt);
}

void EAAccessoryPort::internalOpen(std::int64_t timeout, Completion completion) {
    auto watch = std::make_shared<Stopwatch>();
    watch->start();
    const std::string className = typeNameOf(*this);
    // A session the accessory ended by itself leaves a finished pump behind.
    joinPump(*state_, false);
    std::lock_guard lock(state_->threadMutex);
    if (state_->pumpThread.joinable()) {
        // Only reachable from the pump's own thread, where no second session can be run.
        const Prelix10Error error = openFailed();
        logError(Log(this, "open(timeout:completion:)", __LINE__), error);
        completion(error);
        return;
    }
    const std::uint64_t closesAtStart = state_->closes;
    state_->pumpThread = std::thread([state = state_, className, timeout, watch, closesAtStart,
                                      completion = std::move(completion)] {
        try {
            openAndPump(state, className, timeout, *watch, closesAtStart, completion);
        } catch (...) {
            // The open reports through its completion; nothing may leave the thread.
        }
    });
}

void EAAccessoryPort::internalClose() { closeState(*state_, false); }

void EAAccessoryPort::close() { internalClose(); }

void EAAccessoryPort::internalReadOnce(std::int64_t size, ReadCompletion completion) {
    const int count = static_cast<int>(std::clamp<std::int64_t>(size, 0, kResponseCacheSize));
    completion(state_->responseCache.take(count), std::nullopt);
}

void EAAccessoryPort::internalReadOnce(ByteRange range, ReadCompletion completion) {
    auto& cache = state_->responseCache;
    if (range.lower < 0 || range.upper < range.lower || range.upper >= cache.unreadCount()) {
        completion(ByteBlock{}, std::nullopt);
        return;
    }
    const int from = static_cast<int>(range.lower);
    const int to = static_cast<int>(range.upper);
    ByteBlock bytes = cache.read(from, to);
    cache.remove(from, to);
    completion(std::move(bytes), std::nullopt);
}

void EAAccessoryPort::internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) {
    const int count = static_cast<int>(std::clamp<std::int64_t>(size, 0, kResponseCacheSize));
    completion(state_->responseCache.read(count), std::nullopt);
}

void EAAccessoryPort::internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) {
    const Log log(this, "write(data:timeout:completion:)", __LINE__);
    // Runs on the calling thread, which waits for the pump in any case; the port is not touched after the
    // completion, which may end it.
    auto state = state_;
    Stopwatch watch;
    watch.start();
    std::uint64_t serial;
    {
        std::lock_guard write(state->writeLock);
        state->writeData = data;
        state->writeOffset = 0;
        serial = ++state->writeSerial;
    }
    if (!data.empty()) state->notify(true);
    bool failed = false;
    for (;;) {
        {
            std::lock_guard write(state->writeLock);
            const bool drained = state->writeOffset >= state->writeData.size();
            if (drained && state->discardedSerial != serial) break;
            if (drained || !state->connected || elapsedWhole(watch) >= timeout) {
                // Bytes not handed on by now are dropped; a session that ended took them with it.
                if (state->writeSerial == serial) discardWriteDataLocked(*state);
                failed = true;
                break;
            }
        }
        std::unique_lock lock(state->wakeMutex);
        state->wake.wait_for(lock, kPumpInterval);
    }
    // No lock is held here: the completion may end the port.
    if (!failed) {
        completion(std::nullopt);
        return;
    }
    const Prelix10Error error = writeFailed();
    logError(log, error);
    completion(error);
}

void EAAccessoryPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) {
    auto& state = *state_;
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(state.wakeMutex);
    // Without a session nothing can arrive: the wait runs its full length.
    const bool woken = state.wake.wait_for(lock, maxWait, [&] { return state.arrivals != state.arrivalsSeen; });
    state.arrivalsSeen = state.arrivals;
    lock.unlock();
    PollingSleep::record(std::chrono::steady_clock::now() - start, woken);
}

std::shared_ptr<Accessory> EAAccessoryPort::accessory() const { return state_->accessoryCopy(); }

void EAAccessoryPort::setAccessory(std::shared_ptr<Accessory> accessory) {
    std::lock_guard lock(state_->infoMutex);
    state_->accessory = std::move(accessory);
}

std::optional<OrvoConnectionIdentifier> EAAccessoryPort::connectionIdentifier() const {
    std::lock_guard lock(state_->infoMutex);
    return state_->connectionIdentifier;
}

void EAAccessoryPort::setConnectionIdentifier(std::optional<OrvoConnectionIdentifier> identifier) {
    std::lock_guard lock(state_->infoMutex);
    state_->connectionIdentifier = std::move(identifier);
}

std::string EAAccessoryPort::modelNumber() const {
    auto accessory = state_->accessoryCopy();
    return accessory ? accessory->modelNumber() : std::string();
}

int EAAccessoryPort::bufferedByteCount() const { return state_->responseCache.unreadCount(); }

std::size_t EAAccessoryPort::pendingWriteCount() const {
    std::lock_guard lock(state_->writeLock);
    return state_->writeData.size() - state_->writeOffset;
}

void BluetoothPort::checkAccessoryAvailability() {
    // A terminal the application bound itself works whatever the Bluetooth LE central says; a socket keeps
    // the radio check.
    auto found = accessory();
    if (!found) {
        const std::string wanted = FormatConverter::normalizeMacAddress(identifier());
        for (const auto& candidate : AccessoryBackend::manager()->connectedAccessories()) {
            if (candidate && candidate->transportType() == EAAccessoryType::bluetooth &&
                FormatConverter::normalizeMacAddress(candidate->serialNumber()) == wanted) {
                found = candidate;
                break;
            }
        }
    }
    if (found && found->isBoundTerminal()) return;
    if (CentralManagerControl::shared().waitForState(2000) != BleManagerState::poweredOn) {
        raiseError(Log(this, "checkAccessoryAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::bluetoothUnavailable,
                                 Prelix10ErrorCode::bluetoothUnavailable));
    }
}

}  // namespace Prelix10
