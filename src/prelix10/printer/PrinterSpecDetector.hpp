#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/printer/ModelDetection.hpp"

namespace Prelix10 {

class RawPort;

// Tells the model and the emulation of the device behind an opened raw port. An unknown model or emulation
// is a result, not an error; the opener turns it into "Not supported model.". The port stays open and is
// never closed by the detector.
class PrinterSpecDetector {
public:
    using Result = std::pair<std::shared_ptr<ModelDetectionInformation>, OrvoPrinterEmulation>;

    virtual ~PrinterSpecDetector() = default;
    virtual Result detect(std::int64_t timeout) const = 0;
};

// The detector for a raw port's class: TCP, Bluetooth, USB or Bluetooth LE.
class PrinterSpecDetectorFactory {
public:
    // Unexpected state (unknown kind) for a port of any other class.
    static std::unique_ptr<PrinterSpecDetector> create(std::shared_ptr<RawPort> port);
};

// The emulation of a model by the model table: unknown without a row.
OrvoPrinterEmulation emulationOfModel(OrvoPrinterModel model);

}  // namespace Prelix10
