#pragma once

#include <memory>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// Lays an emulation's printer port over a raw port. The caller reads the model's record and says whether
// status travels over the printing connection.
class PrinterPortFactory {
public:
    // TCP port: the maker's emulations give the LAN printer port, ESC/POS its own LAN printer port.
    // Accessory port: the maker's emulations give the accessory printer port, mobile ESC/POS its own.
    // Bluetooth LE port: Kestrin gives the Bluetooth LE printer port. Every other pair fails with the
    // unexpected-state error, whose line names the row; the raw port is left as it was.
    static std::shared_ptr<PrinterPort> create(const std::shared_ptr<RawPort>& port, OrvoPrinterEmulation emulation,
                                               bool isGetStatusViaTcp9100);
};

}  // namespace Prelix10
