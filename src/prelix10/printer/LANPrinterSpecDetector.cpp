#include "prelix10/printer/LANPrinterSpecDetector.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/protocol/DiscoveryParser.hpp"
#include "prelix10/transport/NetworkPort.hpp"

namespace Prelix10 {

PrinterSpecDetector::Result LANPrinterSpecDetector::detect(std::int64_t timeout) const {
    auto port = std::dynamic_pointer_cast<TCPPort>(port_);
    if (!port) raiseUnexpectedState(Log(this, "internalDetect(timeout:)", __LINE__), 8);
    // The record the open's lookup fetched already tells the model: no second lookup.
    if (const auto record = port->nicInformation(); record && record->card) {
        auto detection = ModelDetection::detectModelFromDeviceModel(*record->card);
        if (const auto spec = PrinterSpecTable::findSpec(detection->model()); spec && spec->detectModelByExModelName) {
            detection = ModelDetection::detectModelFromExModelName(*record->card);
        }
        return {detection, emulationOfModel(detection->model())};
    }
    auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    const auto found = manager->findDevice({port->identifier()}, timeout);
    return detectionOfFoundPrinter(*found, Log(this, "detect(port:timeout:)", __LINE__), 20);
}

}  // namespace Prelix10
