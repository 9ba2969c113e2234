#include "prelix10/compiler/JsonUtil.hpp"

#include <limits>

#include "prelix10/command/printer/MathUtil.hpp"

namespace VelmarCommandParser {

namespace {

const DocumentTree* member(const DocumentTree* value, std::string_view key) {
    if (value == nullptr || !value->is_object()) return nullptr;
    const auto found = value->find(key);
    return found == value->end() ? nullptr : &*found;
}

const nlohmann::json* pointed(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer) {
    if (value == nullptr) return nullptr;
    try {
        if (!value->contains(pointer)) return nullptr;
        return &value->at(pointer);
    } catch (const nlohmann::json::exception&) {
        return nullptr;
    }
}

template <typename Json>
std::int32_t numberToInt32(const Json& number) {
    constexpr auto high = std::numeric_limits<std::int32_t>::max();
    constexpr auto low = std::numeric_limits<std::int32_t>::min();
    if (number.is_number_unsigned()) {
        const auto v = number.template get<std::uint64_t>();
        return v > static_cast<std::uint64_t>(high) ? high : static_cast<std::int32_t>(v);
    }
    if (number.is_number_integer()) {
        const auto v = number.template get<std::int64_t>();
        return v > high ? high : v < low ? low : static_cast<std::int32_t>(v);
    }
    if (number.is_number_float())
        return PrinterCommandBuilder::Printer::MathUtil::saturateToInt32(number.template get<double>());
    return 0;
}

}  // namespace

std::int32_t JsonUtil::toInt32(const DocumentTree& number) {
    return numberToInt32(number);
}

std::int32_t JsonUtil::toInt32(const nlohmann::json& number) {
    return numberToInt32(number);
}

bool JsonUtil::contains(const DocumentTree* value, std::string_view key) {
    return member(value, key) != nullptr;
}

bool JsonUtil::getBoolean(const DocumentTree* value, std::string_view key, bool& notFound) {
    const auto* m = member(value, key);
    if (m == nullptr || !m->is_boolean()) {
        notFound = true;
        return false;
    }
    return m->get<bool>();
}

std::int32_t JsonUtil::getInt(const DocumentTree* value, std::string_view key, bool& notFound) {
    const auto* m = member(value, key);
    if (m == nullptr || !m->is_number()) {
        notFound = true;
        return 0;
    }
    return toInt32(*m);
}

double JsonUtil::getDouble(const DocumentTree* value, std::string_view key, bool& notFound) {
    const auto* m = member(value, key);
    if (m == nullptr || !m->is_number()) {
        notFound = true;
        return 0.0;
    }
    return m->get<double>();
}

std::string JsonUtil::getString(const DocumentTree* value, std::string_view key, bool& notFound) {
    return std::string(getStringRef(value, key, notFound));
}

std::string_view JsonUtil::getStringRef(const DocumentTree* value, std::string_view key, bool& notFound) {
    const auto* m = member(value, key);
    if (m == nullptr || !m->is_string()) {
        notFound = true;
        return {};
    }
    return textOf(*m);
}

std::vector<std::int32_t> JsonUtil::getIntArray(const DocumentTree* value, std::string_view key,
                                                bool& notFound) {
    std::vector<std::int32_t> items;
    const auto* m = member(value, key);
    if (m == nullptr || !m->is_array()) {
        notFound = true;
        return items;
    }
    for (const auto& item : *m) {
        if (!item.is_number()) {
            notFound = true;
            break;
        }
        items.push_back(toInt32(item));
    }
    return items;
}

std::vector<PrinterCommandBuilder::Printer::Encode> JsonUtil::getArray(
    const DocumentTree* value, std::string_view key,
    const std::map<std::string, PrinterCommandBuilder::Printer::Encode>& map, bool& notFound) {
    std::vector<PrinterCommandBuilder::Printer::Encode> items;
    const auto* m = member(value, key);
    if (m == nullptr || !m->is_array()) {
        notFound = true;
        return items;
    }
    for (const auto& item : *m) {
        if (!item.is_string()) {
            notFound = true;
            break;
        }
        const auto found = map.find(std::string(textOf(item)));
        if (found == map.end()) {
            notFound = true;
            break;
        }
        items.push_back(found->second);
    }
    return items;
}

bool JsonUtil::getBoolean(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer,
                          bool& notFound) {
    const auto* m = pointed(value, pointer);
    if (m == nullptr || !m->is_boolean()) {
        notFound = true;
        return false;
    }
    return m->get<bool>();
}

double JsonUtil::getDouble(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer,
                           bool& notFound) {
    const auto* m = pointed(value, pointer);
    if (m == nullptr || !m->is_number()) {
        notFound = true;
        return 0.0;
    }
    return m->get<double>();
}

std::string JsonUtil::getString(const nlohmann::json* value, const nlohmann::json::json_pointer& pointer,
                                bool& notFound) {
    const auto* m = pointed(value, pointer);
    if (m == nullptr || !m->is_string()) {
        notFound = true;
        return std::string();
    }
    return m->get<std::string>();
}

bool JsonUtil::getBoolean(const nlohmann::ordered_json* value, const std::string& key, bool& notFound) {
    if (value == nullptr || !value->is_object()) {
        notFound = true;
        return false;
    }
    const auto found = value->find(key);
    if (found == value->end() || !found->is_boolean()) {
        notFound = true;
        return false;
    }
    return found->get<bool>();
}

}  // namespace VelmarCommandParser
