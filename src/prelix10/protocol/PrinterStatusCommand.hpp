#pragma once

#include <cstdint>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// The status requests, one nested class per emulation family.
class PrinterStatusCommand {
public:
    class Orvo {
    public:
        // ESC ACK SOH: the automatic status request of the maker's emulations.
        static ByteBlock automaticStatusRequest() { return {0x1B, 0x06, 0x01}; }
        // EOT: the one-byte status request.
        static ByteBlock eotStatusRequest() { return {0x04}; }
    };
    class Port9101 {
    public:
        // 0x32 followed by fifty zero bytes, sent on the LAN status port.
        static ByteBlock statusRequest() {
            ByteBlock request(51, 0x00);
            request[0] = 0x32;
            return request;
        }
        // Written to the print connection after a status was read on the status port.
        static ByteBlock endOfStatusExchange() { return {0x00}; }
    };
    class EscPos {
    public:
        // ESC GS ETX 4 NUL NUL, then DLE EOT n for the reply kinds 0, 1 and 3.
        static ByteBlock statusRequest() {
            ByteBlock request{0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00};
            for (std::uint8_t kind : {0, 1, 3}) {
                request.push_back(0x10);
                request.push_back(0x04);
                request.push_back(static_cast<std::uint8_t>(kind + 1));
            }
            return request;
        }
    };
    class EscPosMobile {
    public:
        static ByteBlock statusRequest() { return {0x10, 0x04, 0x04}; }
    };
};

// End-of-job counter commands.
class ETBCommand {
public:
    class OrvoEmulation {
    public:
        // ETB: the end-of-job marker the printer counts.
        static ByteBlock endOfJobMarker() { return {0x17}; }
    };
    class OrvoOriginal {
    public:
        // ESC GS ETX 0 NUL NUL: the counter request.
        static ByteBlock counterRequest() { return command(0x00); }
        // ESC GS ETX s NUL NUL for s = 0 to 4.
        static ByteBlock command(std::uint8_t selector) { return {0x1B, 0x1D, 0x03, selector, 0x00, 0x00}; }
    };
};

}  // namespace Prelix10
