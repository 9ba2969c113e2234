#include "prelix10/control/PrinterControlFactory.hpp"

#include "prelix10/control/EscPosPrinterControl.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/core/Log.hpp"

namespace Prelix10 {

std::shared_ptr<PrinterControl> PrinterControlFactory::create(const std::shared_ptr<PrinterPort>& port,
                                                              const PrinterControlFeatures& features) {
    const int e = static_cast<int>(port->emulation());
    if (e >= 1 && e <= 4) {
        return std::make_shared<OrvoPrinterControl>(port, features.supportSpoolPrint, features.supportOrvoConfig,
                                                    features.supportGetCommandAvailableInformation);
    }
    if (port->emulation() == OrvoPrinterEmulation::escPos) {
        return std::make_shared<EscPosPrinterControl>(port, features.supportSpoolPrint, features.supportOrvoConfig,
                                                      features.supportGetCommandAvailableInformation);
    }
    if (port->emulation() == OrvoPrinterEmulation::escPosMobile) {
        return std::make_shared<EscPosMobilePrinterControl>(port, features.supportSpoolPrint, features.supportOrvoConfig,
                                                            features.supportGetCommandAvailableInformation);
    }
    raiseUnexpectedState(Log(nullptr, "PrinterControlFactory", "create(port:model:)", __LINE__), 32);
}

}  // namespace Prelix10
