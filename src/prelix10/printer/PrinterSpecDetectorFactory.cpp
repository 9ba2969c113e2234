#include "prelix10/printer/PrinterSpecDetectorFactory.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/printer/BluetoothLEPrinterSpecDetector.hpp"
#include "prelix10/printer/BluetoothPrinterSpecDetector.hpp"
#include "prelix10/printer/LANPrinterSpecDetector.hpp"
#include "prelix10/printer/USBPrinterSpecDetector.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"

namespace Prelix10 {

std::unique_ptr<PrinterSpecDetector> PrinterSpecDetectorFactory::create(std::shared_ptr<RawPort> port) {
    if (std::dynamic_pointer_cast<TCPPort>(port)) return std::make_unique<LANPrinterSpecDetector>(std::move(port));
    if (std::dynamic_pointer_cast<BluetoothPort>(port)) {
        return std::make_unique<BluetoothPrinterSpecDetector>(std::move(port));
    }
    if (std::dynamic_pointer_cast<USBPort>(port)) return std::make_unique<USBPrinterSpecDetector>(std::move(port));
    if (std::dynamic_pointer_cast<BluetoothLEPort>(port)) {
        return std::make_unique<BluetoothLEPrinterSpecDetector>(std::move(port));
    }
    raiseUnexpectedState(Log(nullptr, "PrinterSpecDetectorFactory", "create(port:)", __LINE__), 14);
}

}  // namespace Prelix10
