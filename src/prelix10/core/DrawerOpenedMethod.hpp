#pragma once

#include <optional>
#include <string>

namespace Prelix10 {

// How a cash drawer was opened, as the printer's status reports it: the status parsers store bitSet when the
// drawer's opened-method bit is set and bitClear when it is clear.
enum class DrawerOpenedMethod : int {
    bitClear = 0,
    bitSet = 1,
};

namespace DrawerOpenedMethods {
// No value outside 0...1.
std::optional<DrawerOpenedMethod> fromRawValue(int raw);
// The raw value in decimal digits.
std::string description(DrawerOpenedMethod method);
}  // namespace DrawerOpenedMethods

inline std::string describeEnumeration(DrawerOpenedMethod method) {
    return DrawerOpenedMethods::description(method);
}

}  // namespace Prelix10
