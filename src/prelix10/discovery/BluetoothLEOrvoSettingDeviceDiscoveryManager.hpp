#pragma once

#include "prelix10/core/Export.hpp"

#include <memory>

#include "prelix10/discovery/BluetoothLEDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/OrvoSettingDeviceDiscoveryManager.hpp"

namespace Prelix10 {

// Finds the maker's devices that advertise the wireless LAN setting service over Bluetooth LE (those that only
// print are passed over). Finds reach the delegate on the scan's own queue, never on the caller's thread during
// startDiscovery, so a delegate may stop the discovery, start another one or open the device from a find.
class PRELIX10_EXPORT BluetoothLEOrvoSettingDeviceDiscoveryManager final : public BaseOrvoSettingDeviceDiscoveryManager,
                                                           public BaseOrvoSettingDeviceDiscoveryManagerProtocol {
public:
    void internalCheckAvailability() override;
    void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) override;

    // The setting device an advertisement describes, or none without a model name or an address.
    static std::shared_ptr<OrvoSettingDevice> createSettingDevice(const std::shared_ptr<BluetoothLEInformation>& information);

private:
    BluetoothLEDeviceDiscoveryManager baseBleDiscoveryManager_;
};

}  // namespace Prelix10
