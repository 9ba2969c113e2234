#include "prelix10/printer/PrinterSpecDetector.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"

namespace Prelix10 {

OrvoPrinterEmulation emulationOfModel(OrvoPrinterModel model) {
    const auto spec = PrinterSpecTable::findSpec(model);
    return spec ? spec->emulation : OrvoPrinterEmulation::unknown;
}

PrinterSpecDetector::Result detectionOfFoundPrinter(const OrvoPrinter& found, const Log& log, int line) {
    const auto information = found.informationRecord();
    if (!information || !information->modelDetectionInformation) raiseUnexpectedState(log, line);
    return {information->modelDetectionInformation, information->emulation};
}

}  // namespace Prelix10
