#pragma once

#include <memory>
#include <optional>
#include <string>

#include "prelix10/platform/BleCentral.hpp"

namespace Prelix10 {

// The state of a setting device's wireless LAN as its advertisement reports it.
struct WLanSettingServiceStatus {
    bool isInfrastructureMode = false;
    bool isConnectedWiredLan = false;
    bool isWlanDisabled = false;
    bool isAPConnectionSucceeded = false;
};

// One Bluetooth LE device found by a scan.
class BluetoothLEInformation {
public:
    std::shared_ptr<BlePeripheral> peripheral;
    int rssi = -127;
    std::optional<std::string> deviceName;
    std::optional<std::string> modelName;
    std::optional<std::string> address;
    bool capPrintService = false;
    bool capWLanSettingService = false;
    std::optional<WLanSettingServiceStatus> wLanSettingServiceStatus;

    std::string description() const;
};

}  // namespace Prelix10
