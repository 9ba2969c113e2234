#include "prelix10/transport/PeripheralControl.hpp"

#include <algorithm>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/transport/PollingSleep.hpp"

namespace Prelix10 {

namespace {

Prelix10Error openFailed() { return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed); }
Prelix10Error writeFailed() { return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed); }
Prelix10Error notPaired() {
    return Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::bluetoothLeDeviceIsNotPaired,
                         Prelix10ErrorCode::bluetoothLeDeviceIsNotPaired);
}

std::chrono::steady_clock::time_point deadlineAfter(std::int64_t timeout) {
    // Saturates: a huge budget waits "for ever" rather than overflowing the clock.
    constexpr std::int64_t kLongest = std::int64_t{1} << 40;
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(std::clamp<std::int64_t>(timeout, 0, kLongest));
}

[[noreturn]] void raiseControlError(const char* method, const PeripheralControl::ControlError& error) {
    if (const auto* own = std::get_if<Prelix10Error>(&error)) {
        raiseError(Log(nullptr, "PeripheralControl", method, __LINE__), *own);
    }
    const auto& platform = std::get<BleError>(error);
    if (Prelix10Logger::shared().isLogging()) {
        Log(nullptr, "PeripheralControl", method, __LINE__)
            .write("Error - " + platform.description + " (code " + std::to_string(platform.code) + ")");
    }
    throw BlePlatformFailure(platform);
}

}  // namespace

std::shared_ptr<PeripheralControl> PeripheralControl::make(std::shared_ptr<BlePeripheral> peripheral) {
    std::shared_ptr<PeripheralControl> control(new PeripheralControl(std::move(peripheral)));
    control->peripheral_->setDelegate(control);
    return control;
}

PeripheralControl::PeripheralControl(std::shared_ptr<BlePeripheral> peripheral) : peripheral_(std::move(peripheral)) {}

PeripheralControl::~PeripheralControl() = default;

std::optional<PeripheralControl::ControlError> PeripheralControl::await(SlotKind kind,
                                                                         const std::function<void()>& issue,
                                                                         std::int64_t timeout,
                                                                         const Prelix10Error& timeoutError,
                                                                         const Prelix10Error& closedError) {
    const auto deadline = deadlineAfter(timeout);
    std::uint64_t mine = 0;
    {
        std::lock_guard lock(mutex_);
        if (invalidated_) return closedError;
        Slot& slot = slots_[kind];
        mine = ++slot.issued;
        slot.waitingFor = mine;
        slot.answer.reset();
    }
    issue();
    std::unique_lock lock(mutex_);
    Slot& slot = slots_[kind];
    condition_.wait_until(lock, deadline, [&] { return slot.answer.has_value() || invalidated_; });
    slot.waitingFor.reset();
    if (slot.answer) {
        auto result = std::move(*slot.answer);
        slot.answer.reset();
        if (result) return ControlError(*result);
        return std::nullopt;
    }
    return invalidated_ ? closedError : timeoutError;
}

void PeripheralControl::answer(SlotKind kind, const std::optional<BleError>& error) {
    std::lock_guard lock(mutex_);
    Slot& slot = slots_[kind];
    // An answer to no request at all is not counted, so that it cannot shift the pairing of later ones.
    if (slot.answered >= slot.issued) return;
    const std::uint64_t number = ++slot.answered;
    // Answers come in request order; one for a request that was given up is not for the waiting one.
    if (!slot.waitingFor || *slot.waitingFor != number) return;
    slot.answer = error;
    condition_.notify_all();
}

void PeripheralControl::discoverServices(const std::optional<std::vector<BleUuid>>& uuids, std::int64_t timeout,
                                         Completion completion) {
    std::weak_ptr<PeripheralControl> weakSelf = weak_from_this();
    GlobalQueue::async([weakSelf, uuids, timeout, completion = std::move(completion)] {
        auto self = weakSelf.lock();
        if (!self) {
            completion(ControlError(openFailed()));
            return;
        }
        auto result = self->await(
            discoverServicesSlot, [&] { self->peripheral_->discoverServices(uuids); }, timeout, openFailed(),
            openFailed());
        self.reset();
        completion(std::move(result));
    });
}

void PeripheralControl::discoverCharacteristics(const std::optional<std::vector<BleUuid>>& uuids,
                                                const std::shared_ptr<BleService>& service, std::int64_t timeout) {
    auto result = await(
        discoverCharacteristicsSlot, [&] { peripheral_->discoverCharacteristics(uuids, service); }, timeout,
        openFailed(), openFailed());
    if (result) raiseControlError("discoverCharacteristics(_:for:timeout:)", *result);
}

void PeripheralControl::setNotifyValue(bool enabled, const std::shared_ptr<BleCharacteristic>& characteristic,
                                       std::int64_t timeout) {
    auto result = await(
        setNotifyValueSlot, [&] { peripheral_->setNotifyValue(enabled, characteristic); }, timeout, notPaired(),
        openFailed());
    if (!result) return;
    if (const auto* platform = std::get_if<BleError>(&*result)) {
        if (platform->domain == BleError::Domain::att && platform->code == BleError::kInsufficientEncryption) {
            result = ControlError(notPaired());
        } else if (platform->domain == BleError::Domain::att && platform->code != 0) {
            result = ControlError(openFailed());
        }
    }
    raiseControlError("setNotifyValue(_:for:timeout:)", *result);
}

void PeripheralControl::write(const BleBytes& data, const std::shared_ptr<BleCharacteristic>& characteristic,
                              BleWriteType type, std::int64_t timeout) {
    const char* method = "write(_:for:type:timeout:)";
    if (isInvalidated() || peripheral_->state() != BlePeripheralState::connected) {
        raiseError(Log(nullptr, "PeripheralControl", method, __LINE__), writeFailed());
    }
    if (type == BleWriteType::withoutResponse) {
        Stopwatch watch;
        watch.start();
        while (!peripheral_->canSendWriteWithoutResponse()) {
            if (!pause(std::chrono::milliseconds(10)) ||
                static_cast<std::int64_t>(watch.elapsedMilliseconds()) >= timeout) {
                raiseError(Log(nullptr, "PeripheralControl", method, __LINE__), writeFailed());
            }
        }
        // Nothing acknowledges a write without response: it has succeeded once handed over.
        peripheral_->writeValue(data, characteristic, type);
        return;
    }
    auto result = await(
        writeValueSlot, [&] { peripheral_->writeValue(data, characteristic, type); }, timeout, writeFailed(),
        writeFailed());
    if (result) raiseControlError(method, *result);
}

void PeripheralControl::didDiscoverServices(BlePeripheral&, const std::optional<BleError>& error) {
    answer(discoverServicesSlot, error);
}

void PeripheralControl::didDiscoverCharacteristicsFor(BlePeripheral&, const std::shared_ptr<BleService>&,
                                                      const std::optional<BleError>& error) {
    answer(discoverCharacteristicsSlot, error);
}

void PeripheralControl::didUpdateNotificationStateFor(BlePeripheral&, const std::shared_ptr<BleCharacteristic>&,
                                                      const std::optional<BleError>& error) {
    answer(setNotifyValueSlot, error);
}

void PeripheralControl::didWriteValueFor(BlePeripheral&, const std::shared_ptr<BleCharacteristic>&,
                                         const std::optional<BleError>& error) {
    answer(writeValueSlot, error);
}

void PeripheralControl::didUpdateValueFor(BlePeripheral&, const std::shared_ptr<BleCharacteristic>&,
                                          const std::optional<BleBytes>& value, const std::optional<BleError>&) {
    // Every value update of the peripheral lands in the one cache, whatever the characteristic.
    if (!value || value->empty()) return;
    responseCache_.append(std::span<const std::uint8_t>(*value));
    {
        std::lock_guard lock(mutex_);
        ++arrivals_;
        condition_.notify_all();
    }
    if (Prelix10Logger::shared().isLogging()) {
        Log(this, "peripheral(_:didUpdateValueFor:error:)", __LINE__)
            .write(concealsReceived_.load() ? "Received - *** (" + std::to_string(value->size()) + " bytes)"
                                            : "Received - " + Util::describe(*value));
    }
}

ByteBlock PeripheralControl::readOnce(std::int64_t size) {
    return responseCache_.take(static_cast<int>(std::clamp<std::int64_t>(size, 0, kResponseCacheSize)));
}

ByteBlock PeripheralControl::readOnce(ByteRange range) {
    const int unread = responseCache_.unreadCount();
    if (range.lower < 0 || range.upper < range.lower || range.upper >= unread) return {};
    const int from = static_cast<int>(range.lower);
    const int to = static_cast<int>(range.upper);
    ByteBlock bytes = responseCache_.read(from, to);
    responseCache_.remove(from, to);
    return bytes;
}

ByteBlock PeripheralControl::readOnceUnconsumed(std::int64_t size) {
    return responseCache_.read(static_cast<int>(std::clamp<std::int64_t>(size, 0, kResponseCacheSize)));
}

void PeripheralControl::invalidate() {
    std::lock_guard lock(mutex_);
    invalidated_ = true;
    condition_.notify_all();
}

bool PeripheralControl::isInvalidated() const {
    std::lock_guard lock(mutex_);
    return invalidated_;
}

bool PeripheralControl::pause(std::chrono::milliseconds duration) {
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + duration;
    std::unique_lock lock(mutex_);
    // Ends early only when the port closes; otherwise the whole pause is kept.
    const bool closed = condition_.wait_until(lock, end, [&] { return invalidated_; });
    lock.unlock();
    PollingSleep::record(std::chrono::steady_clock::now() - start, false);
    return !closed;
}

bool PeripheralControl::waitForIncomingBytes(std::chrono::milliseconds maxWait) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    const bool woken =
        condition_.wait_for(lock, maxWait, [&] { return arrivals_ != arrivalsSeen_ || invalidated_; });
    arrivalsSeen_ = arrivals_;
    lock.unlock();
    PollingSleep::record(std::chrono::steady_clock::now() - start, woken);
    return woken;
}

}  // namespace Prelix10
