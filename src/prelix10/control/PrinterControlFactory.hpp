#pragma once

#include <memory>

#include "prelix10/control/PrinterControl.hpp"

namespace Prelix10 {

// The model's flags that a printer control carries (read by the caller from the model's record).
struct PrinterControlFeatures {
    bool supportSpoolPrint = false;
    bool supportOrvoConfig = false;
    bool supportGetCommandAvailableInformation = false;
};

class PrinterControlFactory {
public:
    // The control for the port's emulation; the unexpected-state error for emulations without one here.
    static std::shared_ptr<PrinterControl> create(const std::shared_ptr<PrinterPort>& port,
                                                  const PrinterControlFeatures& features);
};

}  // namespace Prelix10
