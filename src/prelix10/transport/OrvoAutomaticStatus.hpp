#pragma once

#include <cstdint>

#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// Switching the automatic status of the maker's printers off. The printer ports run it at initialise; the
// maker's printer control offers it too.
class OrvoAutomaticStatus {
public:
    // Writes ESC RS a 0, then reads (and drops) whatever arrives until 50 ms pass without a byte; bytes that
    // keep arriving until the timeout give "Initialize failed." (badResponse).
    static void disable(PrinterPort& port, std::int64_t timeout);
};

}  // namespace Prelix10
