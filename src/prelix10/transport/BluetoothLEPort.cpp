#include "prelix10/transport/BluetoothLEPort.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/platform/Semaphore.hpp"
#include "prelix10/transport/BluetoothLEPortSettings.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/PeripheralControl.hpp"
#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/protocol/WrittenBytesLog.hpp"

namespace Prelix10 {

struct BluetoothLEPort::State {
    State(BLEService service, std::string identifier)
        : service(service),
          serviceUuid(BLEServices::serviceUuid(service)),
          writeUuid(BLEServices::writeCharacteristicUuid(service)),
          notifyUuid(BLEServices::notifyCharacteristicUuid(service)),
          identifier(std::move(identifier)) {}

    const BLEService service;
    const BleUuid serviceUuid;
    const BleUuid writeUuid;
    const BleUuid notifyUuid;
    const std::string identifier;

    mutable std::mutex mutex;
    std::condition_variable idle;
    std::shared_ptr<BluetoothLEInformation> information;
    std::shared_ptr<PeripheralControl> peripheralControl;
    std::shared_ptr<BleCharacteristic> readCharacteristic;
    std::shared_ptr<BleCharacteristic> writeCharacteristic;
    int mtu = kInitialMtu;
    BleWriteType writeType = BleWriteType::withResponse;
    OrvoPrinterModel printerModel = OrvoPrinterModel::unknown;
    std::size_t inFlight = 0;
    bool destroyed = false;
    std::atomic<bool> concealsWrites{false};

    std::shared_ptr<PeripheralControl> control() const {
        std::lock_guard lock(mutex);
        return peripheralControl;
    }
};

namespace {

using State = BluetoothLEPort::State;

std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }

Prelix10Error openFailed() { return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed); }
Prelix10Error writeFailed() { return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed); }

// The port state whose work item this thread runs, if any: a port released from inside its own completion
// must not wait for the item it runs in.
thread_local const State* runningWorkOf = nullptr;

// Runs work on a worker thread, counted so that the port's destructor can wait for it.
void runWork(const std::shared_ptr<State>& state, std::function<void()> work) {
    {
        std::lock_guard lock(state->mutex);
        ++state->inFlight;
    }
    GlobalQueue::async([state, work = std::move(work)] {
        const State* outer = runningWorkOf;
        runningWorkOf = state.get();
        try {
            work();
        } catch (...) {
            // The work items deliver their errors through their completions; nothing else may escape.
        }
        runningWorkOf = outer;
        std::lock_guard lock(state->mutex);
        --state->inFlight;
        state->idle.notify_all();
    });
}

// Detaches the peripheral: pending operations end at once, the connection is cancelled and, for at most
// 100 ms, the peripheral is given time to report the disconnection. Only the given control is closed, so a
// failing open never closes a later one.
void closeState(State& state, const std::shared_ptr<PeripheralControl>& expected = nullptr) {
    std::shared_ptr<PeripheralControl> control;
    {
        std::lock_guard lock(state.mutex);
        if (!state.peripheralControl || (expected && state.peripheralControl != expected)) return;
        control = std::move(state.peripheralControl);
        state.readCharacteristic.reset();
        state.writeCharacteristic.reset();
    }
    control->invalidate();
    CentralManagerControl::shared().cancelConnection(control->peripheral());
    Stopwatch watch;
    watch.start();
    while (control->peripheral()->state() != BlePeripheralState::disconnected && elapsedWhole(watch) < 100) {
        PollingSleep::sleepFor(std::chrono::milliseconds(10));
    }
}

int chunkSizeLocked(const State& state) {
    if (state.printerModel == OrvoPrinterModel::wexal_R799 || state.printerModel == OrvoPrinterModel::wexal_R699) {
        return BluetoothLEPort::kSmallModelChunkSize;
    }
    // A peripheral that reports no usable length must not stop the split from advancing.
    return state.mtu >= 1 ? state.mtu : BluetoothLEPort::kFallbackChunkSize;
}

std::optional<Prelix10Error> lookUp(State& state, const std::string& className, std::int64_t timeout) {
    const Log log(nullptr, className, "getBluetoothLEInformation(identifier:timeout:)", __LINE__);
    try {
        auto lookup = BluetoothLEPortSettings::deviceLookup();
        auto information = lookup(state.identifier, timeout, [&state] {
            std::lock_guard lock(state.mutex);
            return state.destroyed;
        });
        // A record without a model name or an address describes no printer or setting device.
        if (!information || !information->modelName || !information->address) raiseUnexpectedState(log, __LINE__);
        std::lock_guard lock(state.mutex);
        state.information = std::move(information);
        return std::nullopt;
    } catch (const Prelix10Error& error) {
        return error;
    } catch (...) {
        Prelix10Error error = openFailed();
        if (Prelix10Logger::shared().isLogging()) log.write("Error - " + Util::describe(error));
        return error;
    }
}

// The open's steps; the first failure is returned as it came.
std::optional<Prelix10Error> openSteps(State& state, const std::string& className, std::int64_t timeout,
                                       std::shared_ptr<PeripheralControl>& control) {
    const Log log(nullptr, className, "open(timeout:completion:)", __LINE__);
    Stopwatch watch;
    watch.start();
    const auto remaining = [&] { return timeout - elapsedWhole(watch); };

    std::shared_ptr<BluetoothLEInformation> information;
    {
        std::lock_guard lock(state.mutex);
        information = state.information;
    }
    if (!information || !information->peripheral) return openFailed();
    const auto peripheral = information->peripheral;
    control = PeripheralControl::make(peripheral);
    {
        std::lock_guard lock(state.mutex);
        if (state.destroyed || state.peripheralControl) return openFailed();
        state.peripheralControl = control;
    }

    {
        auto semaphore = std::make_shared<Semaphore>(0);
        auto result = std::make_shared<std::optional<Prelix10Error>>();
        CentralManagerControl::shared().connect(peripheral, std::nullopt, remaining(),
                                                [semaphore, result](std::optional<Prelix10Error> error) {
                                                    *result = std::move(error);
                                                    semaphore->signal();
                                                });
        // A close that came before the connect was registered could not end it; end it here.
        if (control->isInvalidated()) CentralManagerControl::shared().cancelConnection(peripheral);
        semaphore->wait();
        if (*result) return **result;
    }
    {
        auto semaphore = std::make_shared<Semaphore>(0);
        auto result = std::make_shared<std::optional<PeripheralControl::ControlError>>();
        control->discoverServices(std::vector<BleUuid>{state.serviceUuid}, remaining(),
                                  [semaphore, result](std::optional<PeripheralControl::ControlError> error) {
                                      *result = std::move(error);
                                      semaphore->signal();
                                  });
        semaphore->wait();
        if (*result) {
            if (const auto* own = std::get_if<Prelix10Error>(&**result)) return *own;
            return openFailed();
        }
    }

    std::shared_ptr<BleService> service;
    if (const auto services = peripheral->services()) {
        for (const auto& s : *services) {
            if (s && normalizedBleUuid(s->uuid()) == state.serviceUuid) {
                service = s;
                break;
            }
        }
    }
    if (!service) return openFailed();

    try {
        control->discoverCharacteristics(std::vector<BleUuid>{state.writeUuid, state.notifyUuid}, service, remaining());
    } catch (const Prelix10Error& error) {
        return error;
    } catch (const BlePlatformFailure&) {
        return openFailed();
    }

    const auto characteristics = service->characteristics();
    if (!characteristics) return openFailed();
    std::shared_ptr<BleCharacteristic> notify;
    std::shared_ptr<BleCharacteristic> write;
    for (const auto& c : *characteristics) {
        if (c && !notify && normalizedBleUuid(c->uuid()) == state.notifyUuid) notify = c;
    }
    for (const auto& c : *characteristics) {
        if (c && !write && normalizedBleUuid(c->uuid()) == state.writeUuid) write = c;
    }
    if (!notify || !write) return openFailed();

    {
        std::lock_guard lock(state.mutex);
        state.mtu = peripheral->maximumWriteValueLength(BleWriteType::withResponse);
    }

    try {
        control->setNotifyValue(true, notify, remaining());
    } catch (const Prelix10Error& error) {
        return error;
    } catch (const BlePlatformFailure&) {
        return openFailed();
    }

    const auto model = information->modelName ? BluetoothLEPortSettings::detectModel(*information->modelName)
                                              : std::optional<OrvoPrinterModel>{};
    std::lock_guard lock(state.mutex);
    // A close that came while the open ran has the last word.
    if (state.peripheralControl != control || control->isInvalidated()) return openFailed();
    state.readCharacteristic = notify;
    state.writeCharacteristic = write;
    if (model) state.printerModel = *model;
    return std::nullopt;
}

void writeChunks(State& state, const std::string& className, const ByteBlock& data, std::int64_t timeout,
                 const BaseRawPortProtocol::Completion& completion) {
    const Log log(nullptr, className, "write(data:timeout:completion:)", __LINE__);
    std::shared_ptr<PeripheralControl> control;
    std::shared_ptr<BleCharacteristic> characteristic;
    BleWriteType type;
    int size;
    {
        std::lock_guard lock(state.mutex);
        control = state.peripheralControl;
        characteristic = state.writeCharacteristic;
        type = state.writeType;
        size = chunkSizeLocked(state);
    }
    if (!control || !characteristic) {
        try {
            raiseUnexpectedState(log, __LINE__);
        } catch (const Prelix10Error& error) {
            completion(error);
        }
        return;
    }
    Stopwatch watch;
    watch.start();
    const std::size_t step = static_cast<std::size_t>(size);
    for (std::size_t start = 0; start < data.size(); start += step) {
        const std::size_t end = std::min(data.size(), start + step);
        const BleBytes chunk(data.begin() + static_cast<std::ptrdiff_t>(start),
                             data.begin() + static_cast<std::ptrdiff_t>(end));
        try {
            control->write(chunk, characteristic, type, timeout - elapsedWhole(watch));
        } catch (...) {
            Prelix10Error error = writeFailed();
            if (Prelix10Logger::shared().isLogging()) log.write("Error - " + Util::describe(error));
            completion(error);
            return;
        }
        if (Prelix10Logger::shared().isLogging()) {
            log.write(state.concealsWrites.load() ? "Write - *** (" + std::to_string(end - start) + " bytes)"
                                                  : "Write - " + WrittenBytesLog::describe(data, start, end, end - start));
        }
        // The pause after each chunk is kept in full; only a close ends it, and with chunks left that fails
        // the write.
        if (!control->pause(BluetoothLEPort::kChunkPause) && end < data.size()) {
            Prelix10Error error = writeFailed();
            if (Prelix10Logger::shared().isLogging()) log.write("Error - " + Util::describe(error));
            completion(error);
            return;
        }
    }
    completion(std::nullopt);
}

}  // namespace

BluetoothLEPort::BluetoothLEPort(BLEService targetBLEService, std::string identifier)
    : BaseRawPort(identifier, identifier), state_(std::make_shared<State>(targetBLEService, identifier)) {}

BluetoothLEPort::~BluetoothLEPort() {
    {
        std::lock_guard lock(state_->mutex);
        state_->destroyed = true;
    }
    closeState(*state_);
    // The item this destructor runs in, when released from a completion, ends right after it.
    const std::size_t own = runningWorkOf == state_.get() ? 1 : 0;
    std::unique_lock lock(state_->mutex);
    state_->idle.wait(lock, [this, own] { return state_->inFlight <= own; });
}

bool BluetoothLEPort::internalIsConnected() const { return state_->control() != nullptr; }

std::vector<std::string> BluetoothLEPort::internalIdentifiers() const {
    std::lock_guard lock(state_->mutex);
    if (!state_->information || !state_->information->address) return {};
    return {FormatConverter::normalizeMacAddress(*state_->information->address)};
}

void BluetoothLEPort::internalCheckAvailability() {
    if (CentralManagerControl::shared().waitForState(2000) != BleManagerState::poweredOn) {
        raiseError(Log(this, "internalCheckAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::bluetoothUnavailable,
                                 Prelix10ErrorCode::bluetoothUnavailable));
    }
}

void BluetoothLEPort::internalFindDevice(std::int64_t timeout, Completion completion) {
    if (information()) {
        completion(std::nullopt);
        return;
    }
    runWork(state_, [state = state_, className = typeNameOf(*this), timeout, completion = std::move(completion)] {
        completion(lookUp(*state, className, timeout));
    });
}

void BluetoothLEPort::internalOpen(std::int64_t timeout, Completion completion) {
    runWork(state_, [state = state_, className = typeNameOf(*this), timeout, completion = std::move(completion)] {
        const Log log(nullptr, className, "open(timeout:completion:)", __LINE__);
        bool hasInformation;
        {
            std::lock_guard lock(state->mutex);
            hasInformation = state->information != nullptr;
        }
        if (!hasInformation) {
            try {
                raiseUnexpectedState(log, __LINE__);
            } catch (const Prelix10Error& error) {
                completion(error);
            }
            return;
        }
        std::shared_ptr<PeripheralControl> control;
        auto failure = openSteps(*state, className, timeout, control);
        if (!failure) {
            completion(std::nullopt);
            return;
        }
        if (control) closeState(*state, control);
        if (Prelix10Logger::shared().isLogging()) log.write("Error - " + Util::describe(*failure));
        completion(*failure);
    });
}

void BluetoothLEPort::internalClose() { closeState(*state_); }

void BluetoothLEPort::internalReadOnce(std::int64_t size, ReadCompletion completion) {
    auto control = state_->control();
    completion(control ? control->readOnce(size) : ByteBlock{}, std::nullopt);
}

void BluetoothLEPort::internalReadOnce(ByteRange range, ReadCompletion completion) {
    auto control = state_->control();
    completion(control ? control->readOnce(range) : ByteBlock{}, std::nullopt);
}

void BluetoothLEPort::internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) {
    auto control = state_->control();
    completion(control ? control->readOnceUnconsumed(size) : ByteBlock{}, std::nullopt);
}

void BluetoothLEPort::internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) {
    runWork(state_, [state = state_, className = typeNameOf(*this), data = data, timeout,
                     completion = std::move(completion)] { writeChunks(*state, className, data, timeout, completion); });
}

ByteBlock BluetoothLEPort::readUntilSize(std::int64_t size, std::int64_t timeout) {
    const Log log(this, "readUntilSize(size:timeout:)", __LINE__);
    const Prelix10Error notOpened(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::notOpened);
    if (!isConnected()) raiseError(log, notOpened);
    checkAvailability();
    ByteBlock collected;
    Stopwatch watch;
    watch.start();
    for (;;) {
        const std::int64_t missing = size - static_cast<std::int64_t>(collected.size());
        ByteBlock piece = readOnce(missing);
        collected.insert(collected.end(), piece.begin(), piece.end());
        if (static_cast<std::int64_t>(collected.size()) >= size) return collected;
        if (!isConnected()) raiseError(log, notOpened);
        if (elapsedWhole(watch) >= timeout) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
        waitForIncomingBytes(std::chrono::milliseconds(10));
    }
}

void BluetoothLEPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) {
    if (auto control = state_->control()) {
        control->waitForIncomingBytes(maxWait);
    } else {
        PollingSleep::sleepFor(maxWait);
    }
}

BLEService BluetoothLEPort::targetBLEService() const { return state_->service; }
const BleUuid& BluetoothLEPort::targetServiceUUID() const { return state_->serviceUuid; }
const BleUuid& BluetoothLEPort::targetServiceWriteUUID() const { return state_->writeUuid; }
const BleUuid& BluetoothLEPort::targetServiceNotifyUUID() const { return state_->notifyUuid; }

std::shared_ptr<BluetoothLEInformation> BluetoothLEPort::information() const {
    std::lock_guard lock(state_->mutex);
    return state_->information;
}

void BluetoothLEPort::setInformation(std::shared_ptr<BluetoothLEInformation> information) {
    std::lock_guard lock(state_->mutex);
    state_->information = std::move(information);
}

int BluetoothLEPort::mtu() const {
    std::lock_guard lock(state_->mutex);
    return state_->mtu;
}

BleWriteType BluetoothLEPort::writeType() const {
    std::lock_guard lock(state_->mutex);
    return state_->writeType;
}

void BluetoothLEPort::setWriteType(BleWriteType type) {
    std::shared_ptr<PeripheralControl> control;
    {
        std::lock_guard lock(state_->mutex);
        state_->writeType = type;
        control = state_->peripheralControl;
    }
    if (!control) return;
    const int length = control->peripheral()->maximumWriteValueLength(type);
    std::lock_guard lock(state_->mutex);
    state_->mtu = length;
}

OrvoPrinterModel BluetoothLEPort::printerModel() const {
    std::lock_guard lock(state_->mutex);
    return state_->printerModel;
}

int BluetoothLEPort::chunkSize() const {
    std::lock_guard lock(state_->mutex);
    return chunkSizeLocked(*state_);
}

void BluetoothLEPort::setConcealsWrites(bool conceal) { state_->concealsWrites.store(conceal); }

void BluetoothLEPort::setConcealsReads(bool conceal) {
    if (auto control = state_->control()) control->setConcealsReceived(conceal);
}

int BluetoothLEPort::bufferedByteCount() const {
    auto control = state_->control();
    return control ? control->bufferedByteCount() : 0;
}

std::size_t BluetoothLEPort::operationsInFlight() const {
    std::lock_guard lock(state_->mutex);
    return state_->inFlight;
}

}  // namespace Prelix10
