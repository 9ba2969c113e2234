#include "prelix10/setting/FirmwareInfo.hpp"

#include <nlohmann/json.hpp>

namespace Prelix10 {

namespace {
constexpr const char* kFields[] = {"model", "password", "type", "mainVersion", "bootVersion"};
// The list nests three deep (document, list, entry); anything much deeper is not a list and is refused
// before the parser builds it.
constexpr int kMaximumDepth = 8;

bool withinDepth(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaximumDepth) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}
}  // namespace

std::optional<JsonFirmwareInfoList> JsonFirmwareInfoList::decode(std::string_view text) {
    if (!withinDepth(text)) return std::nullopt;
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;
    const auto list = document.find("firmwareInfo");
    if (list == document.end() || !list->is_array()) return std::nullopt;
    JsonFirmwareInfoList decoded;
    decoded.firmwareInfo.reserve(list->size());
    for (const auto& entry : *list) {
        if (!entry.is_object()) return std::nullopt;
        std::string values[5];
        for (int i = 0; i < 5; ++i) {
            const auto field = entry.find(kFields[i]);
            if (field == entry.end() || !field->is_string()) return std::nullopt;
            values[i] = field->get<std::string>();
        }
        decoded.firmwareInfo.push_back(FirmwareInfo{std::move(values[0]), std::move(values[1]),
                                                    std::move(values[2]), std::move(values[3]),
                                                    std::move(values[4])});
    }
    return decoded;
}

std::string JsonFirmwareInfoList::encode() const {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& info : firmwareInfo) {
        nlohmann::ordered_json entry;
        entry["model"] = info.model;
        entry["password"] = info.password;
        entry["type"] = info.type;
        entry["mainVersion"] = info.mainVersion;
        entry["bootVersion"] = info.bootVersion;
        list.push_back(std::move(entry));
    }
    nlohmann::ordered_json document;
    document["firmwareInfo"] = std::move(list);
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace Prelix10
