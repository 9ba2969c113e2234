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

// The emulation of a model by the model table: unknown without a row.
OrvoPrinterEmulation emulationOfModel(OrvoPrinterModel model);

class Log;
class OrvoPrinter;
// The model and emulation of a printer a discovery found; the unexpected state of the line without them.
PrinterSpecDetector::Result detectionOfFoundPrinter(const OrvoPrinter& found, const Log& log, int line);

}  // namespace Prelix10
