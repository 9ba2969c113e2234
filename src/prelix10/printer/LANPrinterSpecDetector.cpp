#include "prelix10/printer/LANPrinterSpecDetector.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/transport/NetworkPort.hpp"

namespace Prelix10 {

PrinterSpecDetector::Result LANPrinterSpecDetector::detect(std::int64_t timeout) const {
    auto port = std::dynamic_pointer_cast<TCPPort>(port_);
    if (!port) raiseUnexpectedState(Log(this, "internalDetect(timeout:)", __LINE__), 8);
    auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    const auto found = manager->findDevice({port->identifier()}, timeout);
    return detectionOfFoundPrinter(*found, Log(this, "detect(port:timeout:)", __LINE__), 20);
}

}  // namespace Prelix10
