#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/transport/BluetoothLEInformation.hpp"

namespace Prelix10 {

// What the Bluetooth LE ports take from the layers above them: how a device is looked up by its identifier,
// and how a model is told from the model name the device advertises.
class BluetoothLEPortSettings {
public:
    // Finds the device whose address equals the identifier (or any device with an address, for the first-found
    // identifier) within timeout milliseconds; raises "Device not found." (notFound) when none is seen. A lookup
    // ends early, with that error, once isAbandoned answers true.
    using DeviceLookup = std::function<std::shared_ptr<BluetoothLEInformation>(
        const std::string& identifier, std::int64_t timeout, const std::function<bool()>& isAbandoned)>;
    // None restores the default, scanForDevice.
    static void setDeviceLookup(DeviceLookup lookup);
    static DeviceLookup deviceLookup();

    // The default lookup: scans through the shared central and matches the stack's identifier of each
    // advertising peripheral, as a device address, against the identifier. The advertised local name stands
    // for the model name.
    static std::shared_ptr<BluetoothLEInformation> scanForDevice(const std::string& identifier, std::int64_t timeout,
                                                                 const std::function<bool()>& isAbandoned);

    // The model of an advertised model name; without a detector every device is of the unknown model.
    using ModelDetector = std::function<OrvoPrinterModel(const std::string& modelName)>;
    static void setModelDetector(ModelDetector detector);
    static OrvoPrinterModel detectModel(const std::string& modelName);
};

}  // namespace Prelix10
