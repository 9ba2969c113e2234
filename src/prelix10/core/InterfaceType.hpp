#pragma once

#include "prelix10/core/Export.hpp"
#include <optional>
#include <string>
#include <vector>

namespace Prelix10 {

// The transport of a connection.
enum class InterfaceType : int {
    unknown = 0,
    usb = 1,
    bluetooth = 2,
    bluetoothLE = 3,
    lan = 4,
};

namespace InterfaceTypes PRELIX10_EXPORT {
const std::vector<InterfaceType>& allCases();
// No value outside 0...4.
std::optional<InterfaceType> fromRawValue(int raw);
// The raw value in decimal digits ("4" for LAN).
std::string description(InterfaceType type);
}  // namespace InterfaceTypes

inline std::string describeEnumeration(InterfaceType type) { return InterfaceTypes::description(type); }

}  // namespace Prelix10
