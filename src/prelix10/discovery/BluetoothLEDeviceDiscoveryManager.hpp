#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "prelix10/core/Cancellation.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/transport/BluetoothLEInformation.hpp"

namespace Prelix10 {

// A scanner on the process's shared Bluetooth LE scan that turns the maker's advertisements into device
// records. Every record and the end of a scan reach the caller on a queue of the scan's own, in order, never
// on the stack's thread and never under a lock of the scan: a callback may stop the scan, start another one or
// open a device. A scanner holds one scan at a time; a new scan replaces the one before (which then ends).
// Dropping the scanner ends its scan and releases its share of the shared scan.
class BluetoothLEDeviceDiscoveryManager {
public:
    using OnDiscover = std::function<void(const std::shared_ptr<BluetoothLEInformation>&)>;
    using FindCompletion =
        std::function<void(std::shared_ptr<BluetoothLEInformation>, std::optional<Prelix10Error>)>;

    static constexpr std::int64_t kAvailabilityWait = 2000;

    BluetoothLEDeviceDiscoveryManager();
    ~BluetoothLEDeviceDiscoveryManager();
    BluetoothLEDeviceDiscoveryManager(const BluetoothLEDeviceDiscoveryManager&) = delete;
    BluetoothLEDeviceDiscoveryManager& operator=(const BluetoothLEDeviceDiscoveryManager&) = delete;

    // Raises "Bluetooth unavailable." (illegal device state, 2000) unless the radio is on within 2 s.
    static void checkAvailability();

    // Returns at once. onDiscover runs for every advertisement of the maker's devices (a scan that joins a
    // running one first hears what that scan has seen); onComplete runs once, after the token is cancelled,
    // the scan is replaced or the scanner is dropped, and after the last onDiscover.
    void scan(std::shared_ptr<CancellationToken> token, OnDiscover onDiscover, std::function<void()> onComplete);

    // Looks a device up by its address (any case, with or without ':' or '-') or the first-found identifier
    // within timeout milliseconds; the completion runs exactly once, with "Device not found." when none is seen.
    void findDevice(const std::string& identifier, std::int64_t timeout, FindCompletion completion);
    // The blocking form; ends early with "Device not found." once isAbandoned answers true.
    std::shared_ptr<BluetoothLEInformation> findDevice(const std::string& identifier, std::int64_t timeout,
                                                       const std::function<bool()>& isAbandoned = nullptr);

    // The record of one advertisement, or none when it is not one of the maker's devices with a name and address.
    static std::shared_ptr<BluetoothLEInformation> information(const std::shared_ptr<BlePeripheral>& peripheral,
                                                               const BleAdvertisementData& advertisementData, int rssi);
    // Addresses as twelve upper-case hex digits; anything else unchanged.
    static std::string normalizedIdentifier(const std::string& identifier);

private:
    struct Scan;
    void endScan(const std::shared_ptr<Scan>& scan);

    std::mutex mutex_;
    std::shared_ptr<Scan> current_;
};

}  // namespace Prelix10
