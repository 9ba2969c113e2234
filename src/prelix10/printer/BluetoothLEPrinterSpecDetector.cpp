#include "prelix10/printer/BluetoothLEPrinterSpecDetector.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"

namespace Prelix10 {

BluetoothLEPrinterSpecDetector::Result BluetoothLEPrinterSpecDetector::detect(std::int64_t) const {
    auto port = std::dynamic_pointer_cast<BluetoothLEPort>(port_);
    if (!port) raiseUnexpectedState(Log(this, "internalDetect(timeout:)", __LINE__), 8);
    const auto information = port->information();
    if (!information || !information->modelName) raiseUnexpectedState(Log(this, "detect(port:timeout:)", __LINE__), 16);
    auto detection = ModelDetection::detectModelFromPeripheralName(*information->modelName);
    const auto spec = PrinterSpecTable::findSpec(detection->model());
    return {detection, spec ? spec->emulation : OrvoPrinterEmulation::unknown};
}

}  // namespace Prelix10
