#include "prelix10/transport/CentralManagerControl.hpp"

#include <algorithm>
#include <chrono>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"

namespace Prelix10 {

namespace {
constexpr std::chrono::milliseconds kStateRecheck{10};
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max<std::int64_t>(timeout, 0));
    std::unique_lock lock(stateMutex_);
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        // Woken by the state callback; the bounded re-check also covers a stack that changes without one.
        const std::uint64_t seen = stateChanges_;
        stateCondition_.wait_until(lock, std::min(deadline, now + kStateRecheck), [&] { return stateChanges_ != seen; });
        lock.unlock();
        state = central->state();
        lock.lock();
        if (state != BleManagerState::unknown) return state;
    }
    lock.unlock();
    return central->state();
}

void CentralManagerControl::didUpdateState(BleManagerState) {
    std::lock_guard lock(stateMutex_);
    ++stateChanges_;
    stateCondition_.notify_all();
}

void CentralManagerControl::connect(const std::shared_ptr<BlePeripheral>& peripheral,
                                    const std::optional<BleConnectOptions>& options, std::int64_t timeout,
                                    ConnectCompletion completion) {
    auto central = attachedCentral();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max<std::int64_t>(timeout, 0));
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
    GlobalQueue::async([weakSelf, wait, deadline, key = peripheral.get(), completion = std::move(completion)] {
        bool connected = false;
        {
            std::unique_lock lock(wait->mutex);
            wait->condition.wait_until(lock, deadline, [&] { return wait->connected || wait->cancelled; });
            connected = wait->connected;
        }
        if (auto self = weakSelf.lock()) {
            std::lock_guard lock(self->connectMutex_);
            auto it = self->connectWaits_.find(key);
            if (it != self->connectWaits_.end() && it->second == wait) self->connectWaits_.erase(it);
        }
        if (connected) {
            completion(std::nullopt);
            return;
        }
        Prelix10Error error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed);
        if (Prelix10Logger::shared().isLogging()) {
            Log(nullptr, "CentralManagerControl", "connect(peripheral:options:timeout:completion:)", __LINE__)
                .write("Error - " + Util::describe(error));
        }
        completion(error);
    });
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
            seen = discoveredPeripherals_.stored();
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
    }
}

void CentralManagerControl::didDiscover(const std::shared_ptr<BlePeripheral>& peripheral,
                                        const BleAdvertisementData& advertisementData, int rssi) {
    std::vector<ScanCallback> callbacks;
    {
        std::lock_guard lock(scanLock_);
        if (scanForPeripheralsClosures_.empty()) return;
        for (const auto& [scanner, callback] : scanForPeripheralsClosures_) callbacks.push_back(callback);
        discoveredPeripherals_.append({DiscoveredPeripheral{peripheral, advertisementData, rssi}});
    }
    for (const auto& callback : callbacks) callback(peripheral, advertisementData, rssi);
}

std::size_t CentralManagerControl::pendingConnectCount() {
    std::lock_guard lock(connectMutex_);
    return connectWaits_.size();
}

std::size_t CentralManagerControl::scannerCount() {
    std::lock_guard lock(scanLock_);
    return scanForPeripheralsClosures_.size();
}

}  // namespace Prelix10
