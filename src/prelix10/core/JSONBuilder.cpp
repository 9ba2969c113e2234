#include "prelix10/core/JSONBuilder.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace Prelix10 {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t remaining = text.size() - i;
    const auto continuation = [&](std::size_t k) { return (byte(k) & 0xC0) == 0x80; };
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return remaining >= 2 && continuation(i + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (remaining < 3 || !continuation(i + 1) || !continuation(i + 2)) return 0;
        const unsigned char second = byte(i + 1);
        if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
        if (lead == 0xED && second > 0x9F) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (remaining < 4 || !continuation(i + 1) || !continuation(i + 2) || !continuation(i + 3)) return 0;
        const unsigned char second = byte(i + 1);
        if (lead == 0xF0 && second < 0x90) return 0;  // overlong
        if (lead == 0xF4 && second > 0x8F) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

template <typename T>
std::string formatFloating(T value) {
    if (!std::isfinite(value)) return {};
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

}  // namespace

bool JsonValue::isWritable() const {
    return std::visit(
        [](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return false;
            } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
                return static_cast<bool>(std::isfinite(v));
            } else if constexpr (std::is_same_v<T, JsonObjectRef>) {
                return v != nullptr;
            } else {
                return true;
            }
        },
        storage);
}

const JsonValue* JsonObject::get(std::string_view key) const {
    for (const auto& pair : pairs_) {
        if (pair.first == key) return &pair.second;
    }
    return nullptr;
}

JsonValue* JsonObject::find(std::string_view key) {
    for (auto& pair : pairs_) {
        if (pair.first == key) return &pair.second;
    }
    return nullptr;
}

void JsonObject::set(std::string_view key, JsonValue value) {
    if (value.isNull()) {
        remove(key);
        return;
    }
    if (JsonValue* existing = find(key)) {
        *existing = std::move(value);
        return;
    }
    pairs_.emplace_back(std::string(key), std::move(value));
}

void JsonObject::remove(std::string_view key) {
    const auto it = std::find_if(pairs_.begin(), pairs_.end(), [&](const Pair& p) { return p.first == key; });
    if (it != pairs_.end()) pairs_.erase(it);
}

JSONBuilder::JSONBuilder() : newLineCode_("\n"), indentCode_("\t") {}

JSONBuilder::JSONBuilder(std::string newLineCode, std::string indentCode)
    : newLineCode_(std::move(newLineCode)), indentCode_(std::move(indentCode)) {}

namespace {

// 1 for bytes that a JSON string can carry unchanged without further checks (printable ASCII other
// than the quote and the backslash).
constexpr std::array<bool, 256> plainBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x80; ++c) table[c] = c != '"' && c != '\\';
    return table;
}();

}  // namespace

void JSONBuilder::appendEscaped(std::string& out, std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        std::size_t end = i;
        while (end < size && plainBytes[bytes[end]]) ++end;
        if (end > i) {
            out.append(text.data() + i, end - i);
            i = end;
            if (i == size) break;
        }
        const unsigned char c = bytes[i];
        switch (c) {
            case '"':
                out += "\\\"";
                ++i;
                continue;
            case '\\':
                out += "\\\\";
                ++i;
                continue;
            case '\n':
                out += "\\n";
                ++i;
                continue;
            case '\r':
                out += "\\r";
                ++i;
                continue;
            case '\t':
                out += "\\t";
                ++i;
                continue;
            case '\b':
                out += "\\b";
                ++i;
                continue;
            case '\f':
                out += "\\f";
                ++i;
                continue;
            default:
                break;
        }
        if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0x0F];
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for each byte that starts no valid sequence
            ++i;
        } else {
            out.append(text.data() + i, length);
            i += length;
        }
    }
}

std::string JSONBuilder::escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

std::string JSONBuilder::formatNumber(double value) {
    return formatFloating(value);
}
std::string JSONBuilder::formatNumber(float value) {
    return formatFloating(value);
}

void JSONBuilder::indent(std::string& out, int depth) const {
    if (indentCode_.size() == 1) {
        out.append(static_cast<std::size_t>(depth), indentCode_[0]);
        return;
    }
    for (int i = 0; i < depth; ++i) out += indentCode_;
}

std::string JSONBuilder::build(const JsonValue& value, int depth) const {
    std::string out;
    out.reserve(32768);
    std::vector<const JsonObject*> path;
    write(out, value, std::max(depth, 0), path);
    return out;
}

namespace {

bool onPath(const std::vector<const JsonObject*>& path, const JsonValue& value) {
    const JsonObject* object = value.object();
    return object && std::find(path.begin(), path.end(), object) != path.end();
}

}  // namespace

// Writing an element of a list or object directly at depth + 1 gives the same text as building it at
// depth 0 and indenting each of its lines once more, without the repeated copying. Elements without
// text are skipped, so the separator goes before every written element but the first.
void JSONBuilder::write(std::string& out, const JsonValue& value, int depth,
                        std::vector<const JsonObject*>& path) const {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return;
            } else if constexpr (std::is_same_v<T, std::string>) {
                out += '"';
                appendEscaped(out, v);
                out += '"';
            } else if constexpr (std::is_same_v<T, JsonLiteral>) {
                out += '"';
                appendEscaped(out, v.text);
                out += '"';
            } else if constexpr (std::is_same_v<T, bool>) {
                out += v ? "true" : "false";
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                char buffer[24];
                const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
                out.append(buffer, result.ptr);
            } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
                out += formatFloating(v);
            } else if constexpr (std::is_same_v<T, JsonList>) {
                out += '[';
                out += newLineCode_;
                bool first = true;
                for (const JsonValue& element : v) {
                    if (!element.isWritable() || onPath(path, element)) continue;
                    if (!first) {
                        out += ',';
                        out += newLineCode_;
                    }
                    first = false;
                    indent(out, depth + 1);
                    write(out, element, depth + 1, path);
                }
                if (!first) out += newLineCode_;
                indent(out, depth);
                out += ']';
            } else if constexpr (std::is_same_v<T, JsonObjectRef>) {
                if (!v) return;
                path.push_back(v.get());
                out += '{';
                out += newLineCode_;
                bool first = true;
                for (const auto& pair : v->pairs()) {
                    if (!pair.second.isWritable() || onPath(path, pair.second)) continue;
                    if (!first) {
                        out += ',';
                        out += newLineCode_;
                    }
                    first = false;
                    indent(out, depth + 1);
                    out += '"';
                    appendEscaped(out, pair.first);
                    out += "\": ";
                    write(out, pair.second, depth + 1, path);
                }
                if (!first) out += newLineCode_;
                indent(out, depth);
                out += '}';
                path.pop_back();
            }
        },
        value.storage);
}

}  // namespace Prelix10
