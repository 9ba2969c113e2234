#pragma once

#include <memory>
#include <optional>
#include <string>

#include "prelix10/core/WLanSettingServiceStatus.hpp"
#include "prelix10/platform/BleCentral.hpp"

namespace Prelix10 {

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
