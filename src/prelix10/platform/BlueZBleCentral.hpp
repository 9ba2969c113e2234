#pragma once

#include "prelix10/core/Export.hpp"

// The Bluetooth LE central on Linux: BlueZ over D-Bus. The adapter's power is the central's state; a scan is
// a discovery with a filter for LE and duplicates, and every advertisement BlueZ reports on a device object
// (its appearance, or a change of its RSSI or manufacturer data) is a discovery; connect, GATT service and
// characteristic discovery, notifications and writes are the device's and characteristics' methods. One
// event thread per central runs every D-Bus exchange and every delegate callback. BlueZ's signals count only
// when they come from the connection that owns its bus name, as the bus itself reports it; a bus that goes
// away is connected to again, with a pause that doubles up to a few seconds, and everything is read afresh.

#include <chrono>
#include <memory>
#include <string>

#include "prelix10/platform/BleCentral.hpp"

namespace Prelix10 {

class PRELIX10_EXPORT BlueZBleCentral final : public BleCentral {
public:
    struct Options {
        // The bus BlueZ is on; empty is the machine's system bus.
        std::string busAddress;
        // The adapter's object path; empty takes the first adapter BlueZ offers.
        std::string adapterPath;
        // The bus name BlueZ owns.
        std::string serviceName = "org.bluez";
        // The longest a D-Bus call may take before sd-bus gives it up.
        std::chrono::milliseconds callTimeout{60000};
    };

    static std::shared_ptr<BlueZBleCentral> make(Options options);
    ~BlueZBleCentral() override;

    // BleCentral
    BleManagerState state() const override;
    void setDelegate(std::weak_ptr<BleCentralDelegate> delegate) override;
    bool isScanning() const override;
    void scan(const std::optional<std::vector<BleUuid>>& services, bool allowDuplicates) override;
    void stopScan() override;
    void connect(const std::shared_ptr<BlePeripheral>& peripheral,
                 const std::optional<BleConnectOptions>& options) override;
    void cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral) override;

    // How BlueZ's D-Bus errors reach the central's error model; insufficient authentication or encryption
    // becomes the attribute protocol's insufficient encryption, the mark of a device that is not paired.
    static BleError errorFromDBus(const std::string& name, const std::string& message);

    struct Core;

private:
    explicit BlueZBleCentral(std::shared_ptr<Core> core) : core_(std::move(core)) {}
    std::shared_ptr<Core> core_;
};

}  // namespace Prelix10
