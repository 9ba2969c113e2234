#include "prelix10/wlan/WLanMode.hpp"

namespace Prelix10::WLanModes {

std::optional<WLanMode> fromRawValue(std::uint8_t raw) {
    switch (raw) {
        case 0x30: return WLanMode::unknown;
        case 0x31: return WLanMode::infrastructure;
        case 0x32: return WLanMode::accessPoint;
        default: return std::nullopt;
    }
}

std::string description(WLanMode mode) {
    switch (mode) {
        case WLanMode::infrastructure: return "infrastructure";
        case WLanMode::accessPoint: return "accessPoint";
        case WLanMode::unknown: break;
    }
    return "unknown";
}

}  // namespace Prelix10::WLanModes
