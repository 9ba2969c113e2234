#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

#include "prelix10/core/DrawerOpenedMethod.hpp"

namespace Prelix10 {

// Wrappers for optional values on the faces that cannot carry an optional: a wrapper stands for a present
// value, an absent value is a null pointer.
class NullableBool {
public:
    explicit NullableBool(bool v) : value(v) {}
    bool value;
};

class NullableInt {
public:
    explicit NullableInt(std::int64_t v) : value(v) {}
    std::int64_t value;
};

class NullableDrawerOpenedMethod {
public:
    explicit NullableDrawerOpenedMethod(DrawerOpenedMethod v) : value(v) {}
    DrawerOpenedMethod value;
};

// One entry of a status dictionary: null (std::monostate) or a wrapper.
using NullableValue = std::variant<std::monostate, std::shared_ptr<NullableBool>, std::shared_ptr<NullableInt>,
                                   std::shared_ptr<NullableDrawerOpenedMethod>>;

inline bool isNull(const NullableValue& value) {
    return std::visit(
        [](const auto& held) {
            if constexpr (std::is_same_v<std::decay_t<decltype(held)>, std::monostate>) {
                return true;
            } else {
                return held == nullptr;
            }
        },
        value);
}

inline std::shared_ptr<NullableBool> makeNullable(const std::optional<bool>& value) {
    return value ? std::make_shared<NullableBool>(*value) : nullptr;
}
inline std::shared_ptr<NullableInt> makeNullable(const std::optional<std::int64_t>& value) {
    return value ? std::make_shared<NullableInt>(*value) : nullptr;
}
inline std::shared_ptr<NullableDrawerOpenedMethod> makeNullable(const std::optional<DrawerOpenedMethod>& value) {
    return value ? std::make_shared<NullableDrawerOpenedMethod>(*value) : nullptr;
}

}  // namespace Prelix10
