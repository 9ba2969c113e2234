#pragma once

#include <concepts>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "prelix10/core/Log.hpp"

namespace Prelix10 {

namespace Util {

namespace DescribeDetail {
template <typename T>
struct IsOptional : std::false_type {};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type {};
template <typename T>
struct IsVector : std::false_type {};
template <typename T, typename A>
struct IsVector<std::vector<T, A>> : std::true_type {};
template <typename T>
struct IsMap : std::false_type {};
template <typename K, typename V, typename C, typename A>
struct IsMap<std::map<K, V, C, A>> : std::true_type {};
template <typename T>
struct IsSharedPtr : std::false_type {};
template <typename T>
struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {};

template <typename T>
concept HasDescription = requires(const T& value) {
    { value.description() } -> std::convertible_to<std::string>;
};
template <typename T>
concept HasEnumerationDescription = std::is_enum_v<T> && requires(T value) {
    { describeEnumeration(value) } -> std::convertible_to<std::string>;
};
}  // namespace DescribeDetail

// The text of one field value in a record's description: bytes as two uppercase hex digits, arrays as
// "[a, b]", dictionaries as "[k : v]", booleans as true/false, integers in decimal, texts as they are,
// enumerations by their own description and nested records by theirs. A present optional is unwrapped
// for bytes, arrays and dictionaries and otherwise reads "Optional(" + its debug text + ")" (a text between
// double quotes); an absent one reads "nil".
template <typename T>
std::string describeValue(const T& value);

template <typename T>
std::string debugText(const T& value) {
    if constexpr (std::is_convertible_v<const T&, std::string_view> && !std::is_same_v<T, std::nullptr_t>) {
        return "\"" + std::string(std::string_view(value)) + "\"";
    } else {
        return describeValue(value);
    }
}

template <typename T>
std::string describeValue(const T& value) {
    using namespace DescribeDetail;
    if constexpr (IsOptional<T>::value) {
        using Inner = typename T::value_type;
        if (!value) return "nil";
        if constexpr (std::is_same_v<Inner, std::uint8_t> || IsVector<Inner>::value || IsMap<Inner>::value) {
            return describeValue(*value);
        } else {
            return "Optional(" + debugText(*value) + ")";
        }
    } else if constexpr (IsSharedPtr<T>::value) {
        if (!value) return "nil";
        return describeValue(*value);
    } else if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_same_v<T, std::uint8_t>) {
        return describe(value);
    } else if constexpr (std::is_arithmetic_v<T>) {
        return std::to_string(value);
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        return std::string(std::string_view(value));
    } else if constexpr (HasEnumerationDescription<T>) {
        return describeEnumeration(value);
    } else if constexpr (std::is_enum_v<T>) {
        return std::to_string(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (IsVector<T>::value) {
        std::string out = "[";
        bool first = true;
        for (const auto& element : value) {
            if (!first) out += ", ";
            first = false;
            out += describeValue(element);
        }
        return out + "]";
    } else if constexpr (IsMap<T>::value) {
        std::string out = "[";
        bool first = true;
        for (const auto& [key, element] : value) {
            if (!first) out += ", ";
            first = false;
            out += describeValue(key) + " : " + describeValue(element);
        }
        return out + "]";
    } else if constexpr (HasDescription<T>) {
        return value.description();
    } else {
        static_assert(sizeof(T) == 0, "no description rule for this type");
        return {};
    }
}

}  // namespace Util

// Builds the reflective description of a record: "label : value" for each field in declaration order,
// joined with ", ", with no brackets and no type name.
class PropertyDescription {
public:
    template <typename T>
    PropertyDescription& add(const std::string& label, const T& value) {
        return addText(label, Util::describeValue(value));
    }
    PropertyDescription& addText(const std::string& label, const std::string& valueText) {
        if (label.empty()) return *this;
        if (!text_.empty()) text_ += ", ";
        text_ += label + " : " + valueText;
        return *this;
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace Prelix10
