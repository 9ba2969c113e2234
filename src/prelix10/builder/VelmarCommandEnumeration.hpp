#pragma once

#include <optional>
#include <string_view>
#include <type_traits>

namespace Prelix10::VelmarCommand {

// The fixed table from raw value (0, 1, ...) to the JSON string of each builder enumeration.
template <typename E>
struct EnumerationTable;

template <typename E>
inline constexpr int enumerationCaseCount = static_cast<int>(std::size(EnumerationTable<E>::strings));

template <typename E>
constexpr int rawValue(E value) {
    return static_cast<int>(value);
}

// Nothing for a raw value outside the enumeration.
template <typename E>
constexpr std::optional<E> fromRawValue(int raw) {
    if (raw < 0 || raw >= enumerationCaseCount<E>) return std::nullopt;
    return static_cast<E>(raw);
}

// The JSON string of a value; nothing for a value that is no declared case (cast from a raw integer).
template <typename E>
constexpr std::optional<std::string_view> jsonString(E value) {
    const int raw = static_cast<int>(value);
    if (raw < 0 || raw >= enumerationCaseCount<E>) return std::nullopt;
    return EnumerationTable<E>::strings[raw];
}

}  // namespace Prelix10::VelmarCommand

#define PRELIX10_ENUMERATION_TABLE(Type, ...)                        \
    template <>                                                      \
    struct Prelix10::VelmarCommand::EnumerationTable<Type> {         \
        static constexpr std::string_view strings[] = {__VA_ARGS__}; \
    }
