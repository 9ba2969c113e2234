#pragma once

#include "prelix10/control/PrinterControl.hpp"

namespace Prelix10 {

// The printer control of the ESC/POS emulation: the begin check clears the printer's end-of-job counter and
// waits until it reads 0; the end check counts the job and waits until the counter reads 1. The counter is
// read through the port's status read with counter check.
class EscPosPrinterControl : public BasePrinterControl, public BasePrinterControlProtocol {
public:
    using BasePrinterControl::BasePrinterControl;

    void beginCheck(PrinterPort& port, std::int64_t timeout) override;
    void endCheck(PrinterPort& port, std::int64_t timeout) override;

    // ESC GS ETX 4, ESC GS ETX 2 (counter to 0), ESC GS ETX 0 (counter request).
    static ByteBlock beginBlock();
    // ESC GS ETX 1 (count), ESC GS ETX 4, ESC GS ETX 0 (counter request).
    static ByteBlock endBlock();
    static ByteBlock readyCommand() { return {0x1B, 0x1D, 0x03, 0x03, 0x00, 0x00}; }
};

// The printer control of the mobile ESC/POS emulation: a one-byte handshake frames the job.
class EscPosMobilePrinterControl : public BasePrinterControl, public BasePrinterControlProtocol {
public:
    using BasePrinterControl::BasePrinterControl;

    void beginCheck(PrinterPort& port, std::int64_t timeout) override;
    void endCheck(PrinterPort& port, std::int64_t timeout) override;

    static ByteBlock beginBlock() { return {0x1B, 0x1C, 0x15, 0x05, 0x00, 0x00, 0x1B, 0x1C, 0x15, 0x06, 0x00, 0x00}; }
    static ByteBlock handshakeRequest() { return {0x1B, 0x1C, 0x15, 0x06, 0x00, 0x00}; }
    static ByteBlock handshakeDone() { return {0x1B, 0x1C, 0x15, 0x05, 0x00, 0x00}; }
    static bool isGoodHandshake(std::uint8_t reply) { return reply == 0x26 || reply == 0x27; }
};

}  // namespace Prelix10
