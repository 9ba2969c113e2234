#pragma once

#include <string>

namespace Prelix10 {

// The kind of a connected accessory.
enum class EAAccessoryType {
    unknown,
    bluetooth,
    usb,
};

namespace EAAccessoryTypes {
// The case name.
std::string description(EAAccessoryType type);
}  // namespace EAAccessoryTypes

inline std::string describeEnumeration(EAAccessoryType type) { return EAAccessoryTypes::description(type); }

}  // namespace Prelix10
