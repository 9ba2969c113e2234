#include "prelix10/core/OrvoPrinterEmulation.hpp"

namespace Prelix10::PrinterEmulations {

std::optional<OrvoPrinterEmulation> fromRawValue(std::int64_t raw) {
    if (raw < 0 || raw > 6) return std::nullopt;
    return static_cast<OrvoPrinterEmulation>(raw);
}

std::string description(OrvoPrinterEmulation emulation) {
    switch (emulation) {
        case OrvoPrinterEmulation::unknown:
            return "unknown";
        case OrvoPrinterEmulation::orvoLine:
            return "orvoLine";
        case OrvoPrinterEmulation::orvoDot:
            return "orvoDot";
        case OrvoPrinterEmulation::orvoGraphic:
            return "orvoGraphic";
        case OrvoPrinterEmulation::kestrin:
            return "kestrin";
        case OrvoPrinterEmulation::escPos:
            return "escPos";
        case OrvoPrinterEmulation::escPosMobile:
            return "escPosMobile";
    }
    return "unknown";
}

}  // namespace Prelix10::PrinterEmulations
