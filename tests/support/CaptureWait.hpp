#pragma once

// Waiting, bounded, until the virtual printer has taken bytes that are still on their way to it. A call can
// return once it has written, while the printer has not read the bytes yet: a capture cleared right then would
// catch them afterwards.

#include <chrono>
#include <string>
#include <thread>

#include "support/Hex.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

// True once the channel's capture holds the bytes (hex text, as hex() writes it); false after the bound.
inline bool waitUntilCaptured(VirtualPrinterEngine& engine, PrinterChannel channel, const std::string& bytesHex,
                              std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto until = std::chrono::steady_clock::now() + bound;
    while (hex(engine.capture(channel)).find(bytesHex) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The last write of an open with automatic status to switch off.
inline const std::string kAutomaticStatusOffHex = "1B1E6100";

}  // namespace Prelix10::Testing
