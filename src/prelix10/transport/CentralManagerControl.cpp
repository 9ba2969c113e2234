#include "prelix10/transport/CentralManagerControl.hpp"

#include <algorithm>
#include <chrono>
#include <iterator>

#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"

namespace Prelix10 {

namespace {
constexpr std::chrono::milliseconds kStateRecheck{10};
// The pause between connection attempts, as every connection retry keeps.
constexpr std::chrono::milliseconds kConnectRetryPause{100};
}  // namespace

CentralManagerControl& CentralManagerControl::shared() {
    // Never destroyed: ports that outlive main (statics of the application) still close through it at exit.
    static const auto* instance = new std::shared_ptr<CentralManagerControl>(new CentralManagerControl());
    return **instance;
}

std::shared_ptr<BleCentral> CentralManagerControl::attachedCentral() {
    auto central = BleBackend::central();
    bool changed = false;
    {
        std::lock_guard lock(centralMutex_);
        if (central_ != central) {
            central_ = central;
            changed = true;
        }
    }
    if (changed) {
        {
            std::lock_guard lock(scanLock_);
            scanForPeripheralsClosures_.clear();
            discoveredPeripherals_.clear();
            discoveredIndex_.clear();
        }
        std::map<const BlePeripheral*, std::shared_ptr<ConnectWait>> dropped;
        {
            std::lock_guard lock(connectMutex_);
            dropped.swap(connectWaits_);
        }
        for (auto& [peripheral, wait] : dropped) {
            std::lock_guard lock(wait->mutex);
            wait->cancelled = true;
            wait->condition.notify_all();
        }
        central->setDelegate(weak_from_this());
    }
    return central;
}

std::shared_ptr<BleCentral> CentralManagerControl::centralManager() { return attachedCentral(); }

BleManagerState CentralManagerControl::waitForState(std::int64_t timeout) {
    auto central = attachedCentral();
    BleManagerState state = central->state();
    if (state != BleManagerState::unknown) return state;
    const auto deadline = Deadline::after(timeout);
    std::unique_lock lock(stateMutex_);
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        // Woken by the state callback; the bounded re-check also covers a stack that changes without one.
        const std::uint64_t seen = stateChanges_;
        stateCondition_.wait_until(lock, deadline - now > kStateRecheck ? now + kStateRecheck : deadline,
                                   [&] { return stateChanges_ != seen; });
        lock.unlock();
        state = central->state();
        lock.lock();
        if (state != BleManagerState::unknown) return state;
    }
    lock.unlock();
    return central->state();
}

void CentralManagerControl::didUpdateState(BleManagerState state) {
    {
        std::lock_guard lock(stateMutex_);
        ++stateChanges_;
        stateCondition_.notify_all();
    }
    if (state == BleManagerState::unknown || state == BleManagerState::resetting ||
        state == BleManagerState::poweredOn) {
        return;
    }
    // No connect can succeed on an adapter that went off: the waiting ones end now.
    std::vector<std::shared_ptr<ConnectWait>> waits;
    {
        std::lock_guard lock(connectMutex_);
        for (const auto& [peripheral, wait] : connectWaits_) waits.push_back(wait);
    }
    for (const auto& wait : waits) {
        std::lock_guard lock(wait->mutex);
        wait->refusal = BleError{BleError::Domain::other, BleError::kAdapterUnavailable, "Bluetooth is off."};
        wait->condition.notify_all();
    }
}

namespace {

Prelix10Error connectOpenFailed() {
    return Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed);
}

// A refusal that no retry mends ends the connect at once with what the user must change; others are retried.
std::optional<Prelix10Error> permanentRefusal(const BleError& error, BleManagerState state) {
    if (error.domain == BleError::Domain::att && error.code == BleError::kInsufficientEncryption) {
        return Prelix10Error(Prelix10ErrorKind::illegalDeviceState,
                             Prelix10ErrorMessage::bluetoothLeDeviceIsNotPaired,
                             Prelix10ErrorCode::bluetoothLeDeviceIsNotPaired);
    }
    const bool adapterOff =
        error.domain == BleError::Domain::other && error.code == BleError::kAdapterUnavailable;
    if (adapterOff || (state != BleManagerState::poweredOn && state != BleManagerState::unknown)) {
        return Prelix10Error(Prelix10ErrorKind::illegalDeviceState,
                             Prelix10ErrorMessage::bluetoothUnavailable,
                             Prelix10ErrorCode::bluetoothUnavailable);
    }
    return std::nullopt;
}

}  // namespace

void CentralManagerControl::connect(const std::shared_ptr<BlePeripheral>& peripheral,
                                    const std::optional<BleConnectOptions>& options, std::int64_t timeout,
                                    ConnectCompletion completion) {
    auto central = attachedCentral();
    const auto deadline = Deadline::after(timeout);
    auto wait = std::make_shared<ConnectWait>();
    std::shared_ptr<ConnectWait> replaced;
    {
        std::lock_guard lock(connectMutex_);
        wait->id = ++nextConnectId_;
        auto& slot = connectWaits_[peripheral.get()];
        replaced = std::move(slot);
        slot = wait;
    }
    if (replaced) {
        // Only one connect per peripheral is followed; the one it replaces ends now.
        std::lock_guard lock(replaced->mutex);
        replaced->cancelled = true;
        replaced->condition.notify_all();
    }
    central->connect(peripheral, options);
    std::weak_ptr<CentralManagerControl> weakSelf = weak_from_this();
    GlobalQueue::async([weakSelf, wait, deadline, central, peripheral, options,
                        completion = std::move(completion)] {
        const char* method = "connect(peripheral:options:timeout:completion:)";
        bool connected = false;
        std::optional<Prelix10Error> failure;
        for (;;) {
            std::optional<BleError> refusal;
            {
                std::unique_lock lock(wait->mutex);
                wait->condition.wait_until(lock, deadline, [&] {
                    return wait->connected || wait->cancelled || wait->refusal.has_value();
                });
                connected = wait->connected;
                if (connected || wait->cancelled || !wait->refusal) break;
                refusal = std::move(wait->refusal);
                wait->refusal.reset();
            }
            if (Prelix10Logger::shared().isLogging()) {
                Log(nullptr, "CentralManagerControl", method, __LINE__)
                    .write("Error - connect refused: " + refusal->description + " (code " +
                           std::to_string(refusal->code) + ")");
            }
            failure = permanentRefusal(*refusal, central->state());
            if (failure) break;
            // Asked again after the retry pause, while the budget lasts and nobody cancelled.
            {
                std::unique_lock lock(wait->mutex);
                const auto now = std::chrono::steady_clock::now();
                const auto until = deadline - now > kConnectRetryPause ? now + kConnectRetryPause : deadline;
                wait->condition.wait_until(lock, until, [&] { return wait->connected || wait->cancelled; });
                if (wait->connected || wait->cancelled || std::chrono::steady_clock::now() >= deadline)
                    continue;
            }
            central->connect(peripheral, options);
        }
        if (auto self = weakSelf.lock()) {
            std::lock_guard lock(self->connectMutex_);
            auto it = self->connectWaits_.find(peripheral.get());
            if (it != self->connectWaits_.end() && it->second == wait) self->connectWaits_.erase(it);
        }
        if (connected) {
            completion(std::nullopt);
            return;
        }
        const Prelix10Error error = failure ? *failure : connectOpenFailed();
        if (Prelix10Logger::shared().isLogging()) {
            Log(nullptr, "CentralManagerControl", method, __LINE__).write("Error - " + Util::describe(error));
        }
        completion(error);
    });
}

void CentralManagerControl::didFailToConnect(const std::shared_ptr<BlePeripheral>& peripheral,
                                             const std::optional<BleError>& error) {
    std::shared_ptr<ConnectWait> wait;
    {
        std::lock_guard lock(connectMutex_);
        auto it = connectWaits_.find(peripheral.get());
        if (it == connectWaits_.end()) return;
        wait = it->second;
    }
    std::lock_guard lock(wait->mutex);
    wait->refusal = error ? *error : BleError{BleError::Domain::other, -1, "The connection failed."};
    wait->condition.notify_all();
}

void CentralManagerControl::didConnect(const std::shared_ptr<BlePeripheral>& peripheral) {
    std::shared_ptr<ConnectWait> wait;
    {
        std::lock_guard lock(connectMutex_);
        auto it = connectWaits_.find(peripheral.get());
        if (it == connectWaits_.end()) return;  // nobody waits any more: a late answer is dropped
        // An answer that the peripheral's state contradicts belongs to an attempt given up before.
        if (peripheral->state() != BlePeripheralState::connected) return;
        wait = it->second;
        connectWaits_.erase(it);
    }
    std::lock_guard lock(wait->mutex);
    wait->connected = true;
    wait->condition.notify_all();
}

void CentralManagerControl::cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral) {
    auto central = attachedCentral();
    std::shared_ptr<ConnectWait> wait;
    {
        std::lock_guard lock(connectMutex_);
        auto it = connectWaits_.find(peripheral.get());
        if (it != connectWaits_.end()) {
            wait = it->second;
            connectWaits_.erase(it);
        }
    }
    if (wait) {
        std::lock_guard lock(wait->mutex);
        wait->cancelled = true;
        wait->condition.notify_all();
    }
    central->cancelConnection(peripheral);
}

void CentralManagerControl::startScan(const void* scanner, ScanCallback callback) {
    auto central = attachedCentral();
    std::vector<DiscoveredPeripheral> seen;
    ScanCallback copy = callback;
    {
        std::lock_guard lock(scanLock_);
        scanForPeripheralsClosures_[scanner] = std::move(callback);
        if (central->isScanning()) {
            seen.assign(discoveredPeripherals_.begin(), discoveredPeripherals_.end());
        } else {
            central->scan(std::nullopt, true);
        }
    }
    for (const auto& entry : seen) copy(entry.peripheral, entry.advertisementData, entry.rssi);
}

void CentralManagerControl::stopScan(const void* scanner) {
    auto central = attachedCentral();
    std::lock_guard lock(scanLock_);
    scanForPeripheralsClosures_.erase(scanner);
    if (scanForPeripheralsClosures_.empty() && central->isScanning()) {
        central->stopScan();
        discoveredPeripherals_.clear();
        discoveredIndex_.clear();
    }
}

void CentralManagerControl::didDiscover(const std::shared_ptr<BlePeripheral>& peripheral,
                                        const BleAdvertisementData& advertisementData, int rssi) {
    std::vector<ScanCallback> callbacks;
    {
        std::lock_guard lock(scanLock_);
        if (scanForPeripheralsClosures_.empty()) return;
        for (const auto& [scanner, callback] : scanForPeripheralsClosures_) callbacks.push_back(callback);
        const auto known = discoveredIndex_.find(peripheral.get());
        if (known != discoveredIndex_.end()) {
            *known->second = DiscoveredPeripheral{peripheral, advertisementData, rssi};
            discoveredPeripherals_.splice(discoveredPeripherals_.end(), discoveredPeripherals_,
                                          known->second);
        } else {
            if (discoveredPeripherals_.size() >= static_cast<std::size_t>(kDiscoveredCapacity)) {
                discoveredIndex_.erase(discoveredPeripherals_.front().peripheral.get());
                discoveredPeripherals_.pop_front();
            }
            discoveredPeripherals_.push_back(DiscoveredPeripheral{peripheral, advertisementData, rssi});
            discoveredIndex_[peripheral.get()] = std::prev(discoveredPeripherals_.end());
        }
    }
    for (const auto& callback : callbacks) callback(peripheral, advertisementData, rssi);
}

std::size_t CentralManagerControl::pendingConnectCount() {
    std::lock_guard lock(connectMutex_);
    return connectWaits_.size();
}

std::size_t CentralManagerControl::discoveredCount() {
    std::lock_guard lock(scanLock_);
    return discoveredPeripherals_.size();
}

std::size_t CentralManagerControl::scannerCount() {
    std::lock_guard lock(scanLock_);
    return scanForPeripheralsClosures_.size();
}

}  // namespace Prelix10
