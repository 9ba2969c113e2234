#include "prelix10/compiler/FieldData.hpp"

#include <cmath>
#include <cstdio>
#include <limits>

#include "prelix10/compiler/EscapeUtil.hpp"
#include "prelix10/compiler/TemplatePrintException.hpp"

namespace TemplatePrint {

namespace {

// Output of one number is at most this many characters.
constexpr std::size_t kFormatBufferSize = 1024;
// Widths and precisions beyond what the buffer can show are refused rather than padded for nothing.
constexpr unsigned kMaxWidthOrPrecision = kFormatBufferSize - 1;

template <typename T>
T saturate(double value) {
    if (std::isnan(value)) return 0;
    value = std::trunc(value);
    constexpr T low = std::numeric_limits<T>::min();
    constexpr T high = std::numeric_limits<T>::max();
    if (value <= static_cast<double>(low)) return low;
    // The double nearest to `high` rounds up to a power of two that T cannot hold.
    if (value >= static_cast<double>(high)) return high;
    return static_cast<T>(value);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits; false when it is longer or larger than the formatter can use.
bool readNumber(const std::string& text, std::size_t& position) {
    unsigned value = 0;
    std::size_t start = position;
    while (position < text.size() && isDigit(text[position])) {
        value = value * 10 + static_cast<unsigned>(text[position] - '0');
        if (value > kMaxWidthOrPrecision) return false;
        ++position;
    }
    return position > start;
}

template <typename T>
std::string formatWith(const std::string& format, T argument) {
    char buffer[kFormatBufferSize];
    int written = std::snprintf(buffer, sizeof buffer, format.c_str(), argument);
    if (written < 0) return {};
    return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(written), sizeof buffer - 1));
}

}  // namespace

FieldData::FieldData(const std::string& text) : data_(nlohmann::json::parse(text)) {}

bool FieldData::isVelmarCommand() const {
    if (!data_.is_object()) return false;
    auto title = data_.find("title");
    return title != data_.end() && *title == "VelmarCommand" && data_.contains("version") &&
           data_.contains("contents");
}

const nlohmann::json* FieldData::find(const JsonPointer& pointer) const {
    try {
        if (!data_.contains(pointer)) return nullptr;
        return &data_.at(pointer);
    } catch (const nlohmann::json::exception&) {
        // An index too large for the platform leads nowhere, like any other missing element.
        return nullptr;
    }
}

KeySpecifierInfo FieldData::createJsonPointer(const std::string& key, std::int64_t arrayIndex,
                                              bool& error) const {
    KeySpecifierInfo info;
    error = true;
    std::vector<std::string> segments = TemplatePrintUtil::split(key, ".", -1);
    JsonPointer pointer;
    bool arrayMet = false;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        std::string segment = EscapeUtil::decodePeriodPercentEscape(segments[i]);
        if (i == 0) {
            // The first segment may itself be pointer text: "/" separates tokens, "~0" and "~1" escape.
            pointer = JsonPointer("/" + segment);
        } else {
            pointer /= segment;
        }
        const nlohmann::json* value = find(pointer);
        if (value != nullptr && value->is_array()) {
            if (arrayMet || arrayIndex < 0) {
                info.setKeyPointer(pointer);
                return info;
            }
            arrayMet = true;
            info.setIsArray(true);
            info.setArrayKeyPointer(pointer);
            info.setArraySize(value->size());
            pointer /= std::to_string(arrayIndex);
        }
    }
    if (find(pointer) != nullptr) error = false;
    info.setKeyPointer(std::move(pointer));
    return info;
}

std::string FieldData::numberToString(double value, const std::string& format) {
    const std::string pattern = format.empty() ? std::string("d") : format;
    // Exactly one conversion, with only flags, width and precision before it, reaches the formatter.
    std::size_t position = 0;
    while (position < pattern.size() &&
           std::string_view("-+ #0").find(pattern[position]) != std::string_view::npos) {
        ++position;
    }
    if (position < pattern.size() && isDigit(pattern[position]) && !readNumber(pattern, position)) {
        throw TemplatePrintException::invalidNumberFormat();
    }
    if (position < pattern.size() && pattern[position] == '.') {
        ++position;
        if (!readNumber(pattern, position)) throw TemplatePrintException::invalidNumberFormat();
    }
    const std::string_view conversion = std::string_view(pattern).substr(position);
    // The format as the C formatter gets it; 64-bit conversions are passed as long long.
    std::string cFormat;
    cFormat.reserve(pattern.size() + 3);
    cFormat.push_back('%');
    cFormat.append(pattern, 0, position);
    auto with = [&cFormat](std::string_view tail) -> const std::string& { return cFormat.append(tail); };

    if (conversion == "d") return formatWith(with("d"), saturate<std::int32_t>(value));
    if (conversion == "x" || conversion == "X") {
        return formatWith(with(conversion), static_cast<std::uint32_t>(saturate<std::int32_t>(value)));
    }
    if (conversion == "u") return formatWith(with("u"), saturate<std::uint32_t>(value));
    // "f" formats the double itself, so amounts such as 1234567.89 print exactly.
    if (conversion == "f" || conversion == "lf") return formatWith(with("f"), value);
    if (conversion == "ld")
        return formatWith(with("lld"), static_cast<long long>(saturate<std::int64_t>(value)));
    if (conversion == "lx" || conversion == "lX") {
        return formatWith(with(conversion == "lx" ? "llx" : "llX"),
                          static_cast<unsigned long long>(saturate<std::int64_t>(value)));
    }
    if (conversion == "lu") {
        return formatWith(with("llu"), static_cast<unsigned long long>(saturate<std::uint64_t>(value)));
    }
    throw TemplatePrintException::invalidNumberFormat();
}

std::string FieldData::render(const std::string& specifier, std::int64_t arrayIndex) const {
    auto [key, format] = TemplatePrintUtil::getReplacingSpecifierPair(specifier);
    // The format is checked first, so a bad one fails even when the key is missing.
    numberToString(0, format);
    bool error = true;
    KeySpecifierInfo info = createJsonPointer(key, arrayIndex, error);
    if (error) return {};
    const nlohmann::json* value = find(info.getKeyPointer());
    if (value == nullptr) return {};
    switch (value->type()) {
        case nlohmann::json::value_t::number_integer:
        case nlohmann::json::value_t::number_unsigned:
        case nlohmann::json::value_t::number_float:
            return numberToString(value->get<double>(), format);
        case nlohmann::json::value_t::boolean:
            return value->get<bool>() ? "true" : "false";
        case nlohmann::json::value_t::string:
            return value->get_ref<const std::string&>();
        default:
            return {};
    }
}

OrderedJson FieldData::replace(const OrderedJson& method, std::int64_t arrayIndex) const {
    const std::string& content = method.at("parameter").at("content").get_ref<const std::string&>();
    std::string output;
    std::size_t position = 0;
    while (true) {
        SpecifierMatch match = TemplatePrintUtil::findReplacingSpecifier(content, position);
        if (match.kind == SpecifierMatch::Kind::none) break;
        if (match.kind == SpecifierMatch::Kind::escape) {
            output.append(content, position, match.start + 2 - position);
        } else {
            output.append(content, position, match.start - position);
            output += render(TemplatePrintUtil::decodeSpecifier(match.text), arrayIndex);
        }
        position = match.end;
    }
    output.append(content, position, std::string::npos);
    OrderedJson replaced = method;
    replaced["parameter"]["content"] = std::move(output);
    return replaced;
}

}  // namespace TemplatePrint
