#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

#include "prelix10/core/GenericCache.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

// An error the stack reported, passed on as it came (the port decides what it becomes).
class BlePlatformFailure : public std::exception {
public:
    explicit BlePlatformFailure(BleError error) : error_(std::move(error)) {}
    const BleError& error() const noexcept { return error_; }
    const char* what() const noexcept override { return error_.description.c_str(); }

private:
    BleError error_;
};

// One connected peripheral, turned from callbacks into operations with time limits, and the cache of every value
// it notifies. One operation of each kind (service discovery, characteristic discovery, notification switch,
// write with response) may be pending at a time. The stack answers the requests of one kind in the order they
// were made, so an answer is matched to its request by count: an answer that comes after its request timed out
// is dropped and never taken for the answer to the next one.
class PeripheralControl final : public BlePeripheralDelegate, public std::enable_shared_from_this<PeripheralControl> {
public:
    static constexpr int kResponseCacheSize = 65535;
    using ControlError = std::variant<Prelix10Error, BleError>;
    using Completion = std::function<void(std::optional<ControlError>)>;

    // The only way to make one: it needs its peripheral, and becomes the peripheral's delegate.
    static std::shared_ptr<PeripheralControl> make(std::shared_ptr<BlePeripheral> peripheral);
    ~PeripheralControl() override;
    PeripheralControl(const PeripheralControl&) = delete;
    PeripheralControl& operator=(const PeripheralControl&) = delete;

    const std::shared_ptr<BlePeripheral>& peripheral() const { return peripheral_; }

    // Returns at once; the completion runs once on a worker thread.
    void discoverServices(const std::optional<std::vector<BleUuid>>& uuids, std::int64_t timeout,
                          Completion completion);
    // The blocking operations raise a Prelix10Error of their own or a BlePlatformFailure.
    void discoverCharacteristics(const std::optional<std::vector<BleUuid>>& uuids,
                                 const std::shared_ptr<BleService>& service, std::int64_t timeout);
    void setNotifyValue(bool enabled, const std::shared_ptr<BleCharacteristic>& characteristic, std::int64_t timeout);
    void write(const BleBytes& data, const std::shared_ptr<BleCharacteristic>& characteristic, BleWriteType type,
               std::int64_t timeout);

    // The response cache reads: consuming, of a range, and copying without consuming.
    ByteBlock readOnce(std::int64_t size);
    ByteBlock readOnce(ByteRange range);
    ByteBlock readOnceUnconsumed(std::int64_t size);
    int bufferedByteCount() const { return responseCache_.unreadCount(); }
    // While on, the log shows how many bytes each notification held, never the bytes: a module that echoes its
    // requests would otherwise send a secret of the request back into the log.
    void setConcealsReceived(bool conceal) { concealsReceived_.store(conceal); }

    // Ends every pending operation at once with its error, and fails every later one: the port is closing.
    void invalidate();
    bool isInvalidated() const;
    // Sleeps for the duration unless invalidated first; false when invalidated.
    bool pause(std::chrono::milliseconds duration);
    // Waits up to maxWait for bytes that arrived after the previous wait, or for invalidation.
    bool waitForIncomingBytes(std::chrono::milliseconds maxWait);

    // Peripheral delegate.
    void didDiscoverServices(BlePeripheral& peripheral, const std::optional<BleError>& error) override;
    void didDiscoverCharacteristicsFor(BlePeripheral& peripheral, const std::shared_ptr<BleService>& service,
                                       const std::optional<BleError>& error) override;
    void didUpdateNotificationStateFor(BlePeripheral& peripheral, const std::shared_ptr<BleCharacteristic>& characteristic,
                                       const std::optional<BleError>& error) override;
    void didWriteValueFor(BlePeripheral& peripheral, const std::shared_ptr<BleCharacteristic>& characteristic,
                          const std::optional<BleError>& error) override;
    void didUpdateValueFor(BlePeripheral& peripheral, const std::shared_ptr<BleCharacteristic>& characteristic,
                           const std::optional<BleBytes>& value, const std::optional<BleError>& error) override;

private:
    explicit PeripheralControl(std::shared_ptr<BlePeripheral> peripheral);

    enum SlotKind { discoverServicesSlot, discoverCharacteristicsSlot, setNotifyValueSlot, writeValueSlot, slotCount };
    struct Slot {
        std::uint64_t issued = 0;
        std::uint64_t answered = 0;
        std::optional<std::uint64_t> waitingFor;
        std::optional<std::optional<BleError>> answer;
    };

    // Issues one request of the kind and waits for its answer until timeout milliseconds have passed.
    // Returns the stack's answer (none for success), or the timeout or closing error.
    std::optional<ControlError> await(SlotKind kind, const std::function<void()>& issue, std::int64_t timeout,
                                      const Prelix10Error& timeoutError, const Prelix10Error& closedError);
    void answer(SlotKind kind, const std::optional<BleError>& error);

    const std::shared_ptr<BlePeripheral> peripheral_;
    GenericCache<std::uint8_t> responseCache_{kResponseCacheSize};

    mutable std::mutex mutex_;
    std::condition_variable condition_;
    Slot slots_[slotCount];
    bool invalidated_ = false;
    std::uint64_t arrivals_ = 0;
    std::uint64_t arrivalsSeen_ = 0;
    std::atomic<bool> concealsReceived_{false};
};

}  // namespace Prelix10
