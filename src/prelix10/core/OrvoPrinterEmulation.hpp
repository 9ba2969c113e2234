#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace Prelix10 {

// The command language a printer speaks.
enum class OrvoPrinterEmulation : int {
    unknown = 0,
    orvoLine = 1,
    orvoDot = 2,
    orvoGraphic = 3,
    kestrin = 4,
    escPos = 5,
    escPosMobile = 6,
};

namespace PrinterEmulations PRELIX10_EXPORT {
// Nothing for raw values outside 0..6.
std::optional<OrvoPrinterEmulation> fromRawValue(std::int64_t raw);
std::string description(OrvoPrinterEmulation emulation);
inline int rawValue(OrvoPrinterEmulation emulation) {
    return static_cast<int>(emulation);
}
}  // namespace PrinterEmulations

}  // namespace Prelix10
