#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace Prelix10 {

class JsonObject;
using JsonObjectRef = std::shared_ptr<JsonObject>;
struct JsonValue;
using JsonList = std::vector<JsonValue>;

// Text that lives for the whole program (a string literal or a static table entry), kept without a copy.
struct JsonLiteral {
    std::string_view text;
};

// One value of a JSON tree: nothing, text, Bool, integer, 32- or 64-bit floating point, a list, or an
// insertion-ordered object held by reference (so builders can share and keep changing it).
struct JsonValue {
    using Storage = std::variant<std::monostate, std::string, bool, std::int64_t, float, double, JsonList,
                                 JsonObjectRef, JsonLiteral>;
    Storage storage;

    JsonValue() = default;
    JsonValue(std::string text) : storage(std::move(text)) {}
    JsonValue(std::string_view text) : storage(std::string(text)) {}
    JsonValue(const char* text) : storage(std::string(text ? text : "")) {}
    JsonValue(bool value) : storage(value) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) JsonValue(T value)
        : storage(static_cast<std::int64_t>(value)) {}
    JsonValue(float value) : storage(value) {}
    JsonValue(double value) : storage(value) {}
    JsonValue(JsonList list) : storage(std::move(list)) {}
    JsonValue(JsonObjectRef object) : storage(std::move(object)) {}
    JsonValue(JsonLiteral literal) : storage(literal) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(storage); }
    // True when the writer gives this value text: not nothing, not a NaN or infinite number, not an
    // empty object reference.
    bool isWritable() const;

    // The text of a text or literal value; nothing for other values.
    std::optional<std::string_view> text() const {
        if (const auto* owned = std::get_if<std::string>(&storage)) return std::string_view(*owned);
        if (const auto* literal = std::get_if<JsonLiteral>(&storage)) return literal->text;
        return std::nullopt;
    }
    const bool* boolean() const { return std::get_if<bool>(&storage); }
    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&storage); }
    const double* real() const { return std::get_if<double>(&storage); }
    const float* real32() const { return std::get_if<float>(&storage); }
    JsonList* list() { return std::get_if<JsonList>(&storage); }
    const JsonList* list() const { return std::get_if<JsonList>(&storage); }
    JsonObject* object() const;
    const JsonObjectRef* objectRef() const { return std::get_if<JsonObjectRef>(&storage); }
};

// Insertion-ordered key/value object. The pair order is the key order of the written JSON. Setting an
// existing key replaces its value in place; setting it to nothing removes the pair; a new key is appended.
class JsonObject {
  public:
    using Pair = std::pair<std::string, JsonValue>;

    JsonObject() = default;
    JsonObject(std::initializer_list<Pair> pairs) : pairs_(pairs) {}

    static JsonObjectRef make() { return std::make_shared<JsonObject>(); }
    static JsonObjectRef make(std::initializer_list<Pair> pairs) {
        return std::make_shared<JsonObject>(pairs);
    }

    // The value of the first pair with this key, or nullptr.
    const JsonValue* get(std::string_view key) const;
    JsonValue* find(std::string_view key);
    // A null value removes the pair.
    void set(std::string_view key, JsonValue value);
    void remove(std::string_view key);
    // Appends without looking for the key: for callers that fill a fresh object with distinct keys.
    void append(std::string key, JsonValue value) { pairs_.emplace_back(std::move(key), std::move(value)); }
    void reserve(std::size_t count) { pairs_.reserve(count); }

    const std::vector<Pair>& pairs() const { return pairs_; }
    std::size_t size() const { return pairs_.size(); }
    bool empty() const { return pairs_.empty(); }

  private:
    std::vector<Pair> pairs_;
};

inline JsonObject* JsonValue::object() const {
    const auto* ref = std::get_if<JsonObjectRef>(&storage);
    return ref ? ref->get() : nullptr;
}

namespace JsonDetail {
template <typename P>
concept KeyValueMember = requires(const P& p) {
    { p.key } -> std::convertible_to<std::string_view>;
    p.value;
};
template <typename P>
concept FirstSecond = requires(const P& p) {
    { p.first } -> std::convertible_to<std::string_view>;
    p.second;
};
template <typename R>
concept PairRange = std::ranges::input_range<R> &&
    (KeyValueMember<std::ranges::range_value_t<R>> ||
     FirstSecond<std::ranges::range_value_t<R>>)&&!std::same_as<std::remove_cvref_t<R>, JsonList>;
}  // namespace JsonDetail

// Writes JSON text with one value per line, indented by nesting depth. Text values and keys are written
// as valid JSON strings: quotes, backslashes and control characters are escaped and invalid UTF-8 is
// replaced by U+FFFD, so callers hand in plain text. NaN and infinite numbers, and pairs or elements
// without a value, are left out rather than written as invalid JSON. An object met again inside itself
// is left out, so a cyclic tree cannot recurse without end.
class JSONBuilder {
  public:
    // Line feed and one TAB.
    JSONBuilder();
    JSONBuilder(std::string newLineCode, std::string indentCode);

    const std::string& newLineCode() const { return newLineCode_; }
    const std::string& indentCode() const { return indentCode_; }

    // The text of one value at nesting depth (0 or more): the closing bracket of an object or list is
    // indented depth times; nothing is written before its opening bracket and nothing after the closing one.
    std::string build(const JsonValue& value, int depth) const;

    // An ordered dictionary given as a range of (key, value) pairs: std::pair or any type with `key` and
    // `value` members, in the range's order.
    template <JsonDetail::PairRange R>
    std::string build(const R& pairs, int depth) const {
        JsonObjectRef object = JsonObject::make();
        for (const auto& pair : pairs) {
            if constexpr (JsonDetail::KeyValueMember<std::ranges::range_value_t<R>>) {
                object->set(std::string_view(pair.key), JsonValue(pair.value));
            } else {
                object->set(std::string_view(pair.first), JsonValue(pair.second));
            }
        }
        return build(JsonValue(std::move(object)), depth);
    }

    // Appends the body of a JSON string (without the surrounding quotes) for text.
    static void appendEscaped(std::string& out, std::string_view text);
    static std::string escaped(std::string_view text);
    // Shortest round-trip decimal text; whole numbers keep ".0"; empty for NaN or infinity.
    static std::string formatNumber(double value);
    static std::string formatNumber(float value);

  private:
    void write(std::string& out, const JsonValue& value, int depth,
               std::vector<const JsonObject*>& path) const;
    void indent(std::string& out, int depth) const;

    std::string newLineCode_;
    std::string indentCode_;
};

}  // namespace Prelix10
