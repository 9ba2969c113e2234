#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/platform/BleCentral.hpp"

namespace Prelix10 {

// The process's one Bluetooth LE central, turned from callbacks into operations with time limits: the radio's
// state, connects, and scans shared by any number of scanners. The central is the installed backend's
// (BleBackend); when the backend is replaced, pending connects and scanners of the old one are dropped.
class CentralManagerControl final : public BleCentralDelegate,
                                    public std::enable_shared_from_this<CentralManagerControl> {
public:
    using ConnectCompletion = std::function<void(std::optional<Prelix10Error>)>;
    using ScanCallback =
        std::function<void(const std::shared_ptr<BlePeripheral>&, const BleAdvertisementData&, int rssi)>;

    struct DiscoveredPeripheral {
        std::shared_ptr<BlePeripheral> peripheral;
        BleAdvertisementData advertisementData;
        int rssi = 0;
    };

    // The most peripherals the running scan remembers; the one heard longest ago goes first.
    static constexpr int kDiscoveredCapacity = 65535;

    static CentralManagerControl& shared();

    std::shared_ptr<BleCentral> centralManager();

    // The radio's state; while it is unknown, waits for a change up to timeout milliseconds without spinning.
    BleManagerState waitForState(std::int64_t timeout);

    // Asks the central to connect and returns at once. The completion runs once, on a worker thread: without
    // an error when the peripheral connected in time. Each refusal of the stack is logged and asked again
    // after 0.1 s while the budget lasts, except one that no retry mends: a device that is not paired ends it
    // with that error, and an adapter that is off or gone with "Bluetooth unavailable.". Otherwise "Open
    // failed.".
    void connect(const std::shared_ptr<BlePeripheral>& peripheral, const std::optional<BleConnectOptions>& options,
                 std::int64_t timeout, ConnectCompletion completion);
    // Cancels the connection; a connect still waiting for this peripheral ends at once with "Open failed.".
    void cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral);

    // Registers a scanner under its identity (replacing an earlier registration of it). When a scan already
    // runs the scanner first hears each peripheral this scan has seen, once, with its latest advertisement,
    // in the order they were last heard; otherwise the scan starts, for every service with duplicates
    // allowed. Callbacks run outside the scan lock, so a scanner may stop from one.
    void startScan(const void* scanner, ScanCallback callback);
    // Removes the scanner; the last one to leave stops the scan and forgets what it saw.
    void stopScan(const void* scanner);

    // Counters for tests.
    std::size_t pendingConnectCount();
    std::size_t scannerCount();
    std::size_t discoveredCount();

    // Central delegate.
    void didUpdateState(BleManagerState state) override;
    void didDiscover(const std::shared_ptr<BlePeripheral>& peripheral, const BleAdvertisementData& advertisementData,
                     int rssi) override;
    void didConnect(const std::shared_ptr<BlePeripheral>& peripheral) override;
    void didFailToConnect(const std::shared_ptr<BlePeripheral>& peripheral,
                          const std::optional<BleError>& error) override;

  private:
    CentralManagerControl() = default;

    struct ConnectWait {
        std::uint64_t id = 0;
        std::mutex mutex;
        std::condition_variable condition;
        bool connected = false;
        bool cancelled = false;
        std::optional<BleError> refusal;
    };

    // The central to use now; attaches this object as its delegate when the backend changed.
    std::shared_ptr<BleCentral> attachedCentral();

    std::mutex centralMutex_;
    std::shared_ptr<BleCentral> central_;

    std::mutex stateMutex_;
    std::condition_variable stateCondition_;
    std::uint64_t stateChanges_ = 0;

    std::mutex connectMutex_;
    std::uint64_t nextConnectId_ = 0;
    std::map<const BlePeripheral*, std::shared_ptr<ConnectWait>> connectWaits_;

    std::mutex scanLock_;
    std::map<const void*, ScanCallback> scanForPeripheralsClosures_;
    // The latest advertisement of each peripheral, oldest first; each advertisement costs the same whatever
    // the number remembered, for it is handled on the stack's event thread.
    std::list<DiscoveredPeripheral> discoveredPeripherals_;
    std::unordered_map<const BlePeripheral*, std::list<DiscoveredPeripheral>::iterator> discoveredIndex_;
};

}  // namespace Prelix10
