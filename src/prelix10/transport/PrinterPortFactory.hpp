#pragma once

#include <memory>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// Lays an emulation's printer port over a raw port. The caller reads the model's record and says whether
// status travels over the printing connection.
class PrinterPortFactory {
public:
    // One of the maker's emulations gives the LAN printer port on a TCP port and the accessory printer port on
    // an accessory port; the Kestrin emulation gives the Bluetooth LE printer port on a Bluetooth LE port.
    // Other pairs (whose ports this build lacks) fail with the unexpected-state error.
    static std::shared_ptr<PrinterPort> create(const std::shared_ptr<RawPort>& port, OrvoPrinterEmulation emulation,
                                               bool isGetStatusViaTcp9100);
};

}  // namespace Prelix10
