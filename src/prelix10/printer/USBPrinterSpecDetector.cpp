#include "prelix10/printer/USBPrinterSpecDetector.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/discovery/USBOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"

namespace Prelix10 {

PrinterSpecDetector::Result USBPrinterSpecDetector::detect(std::int64_t timeout) const {
    auto port = std::dynamic_pointer_cast<USBPort>(port_);
    if (!port) raiseUnexpectedState(Log(this, "internalDetect(timeout:)", __LINE__), 8);
    if (const auto accessory = port->accessory()) {
        auto detection = ModelDetection::detectModelFromAccessoryModelNumber(accessory->modelNumber());
        return {detection, emulationOfModel(detection->model())};
    }
    auto manager = std::make_shared<USBOrvoDeviceDiscoveryManager>();
    const auto found = manager->findDevice(port->identifier(), timeout);
    return detectionOfFoundPrinter(*found, Log(this, "detect(port:timeout:)", __LINE__), 21);
}

}  // namespace Prelix10
