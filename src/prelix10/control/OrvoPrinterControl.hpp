#pragma once

#include "prelix10/control/PrinterControl.hpp"

namespace Prelix10 {

// The printer control of the maker's four emulations: the begin check waits until the printer is ready
// with its end-of-job counter at 0, the end check until the printer has counted the job's marker.
class OrvoPrinterControl : public BasePrinterControl, public BasePrinterControlProtocol {
public:
    using BasePrinterControl::BasePrinterControl;

    void beginCheck(PrinterPort& port, std::int64_t timeout) override;
    void endCheck(PrinterPort& port, std::int64_t timeout) override;
    static void disableAutomaticStatus(PrinterPort& port, std::int64_t timeout);

    // Preamble: ESC * r B, ESC GS ETX 4, ESC RS E 0 (counter to 0), ESC ACK SOH (status request).
    static ByteBlock beginPreamble();
    // ETB, then ESC GS ETX 4.
    static ByteBlock endOfJobMarker();
    static ByteBlock readyCommand() { return {0x1B, 0x1D, 0x03, 0x03, 0x00, 0x00}; }
    static bool isReadyForJob(const OrvoPrinterStatus& status);
};

}  // namespace Prelix10
