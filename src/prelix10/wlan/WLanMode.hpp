#pragma once

#include "prelix10/core/Export.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace Prelix10 {

// The wireless LAN mode as the AT commands carry it: the ASCII digit of the mode.
enum class WLanMode : std::uint8_t {
    unknown = 0x30,
    infrastructure = 0x31,
    accessPoint = 0x32,
};

namespace WLanModes PRELIX10_EXPORT {
// No value for any byte but '0', '1' and '2'.
std::optional<WLanMode> fromRawValue(std::uint8_t raw);
inline std::uint8_t rawValue(WLanMode mode) { return static_cast<std::uint8_t>(mode); }
std::string description(WLanMode mode);
}  // namespace WLanModes

inline std::string describeEnumeration(WLanMode mode) { return WLanModes::description(mode); }

}  // namespace Prelix10
