#include "prelix10/protocol/SpoolJobTypes.hpp"

#include <nlohmann/json.hpp>

namespace Prelix10 {

std::optional<OrvoSpoolJobSettingsAdditionalInfo> OrvoSpoolJobSettingsAdditionalInfo::decode(const std::string& json) {
    const auto value = nlohmann::json::parse(json, nullptr, false);
    if (value.is_discarded() || !value.is_object()) return std::nullopt;
    OrvoSpoolJobSettingsAdditionalInfo info;
    std::string* fields[] = {&info.title,     &info.version, &info.note,   &info.app_info,
                             &info.host_model, &info.host_OS, &info.host_IP};
    const char* keys[] = {"title", "version", "note", "app_info", "host_model", "host_OS", "host_IP"};
    for (std::size_t i = 0; i < 7; ++i) {
        const auto it = value.find(keys[i]);
        if (it == value.end() || !it->is_string()) return std::nullopt;
        *fields[i] = it->get<std::string>();
    }
    return info;
}

SpoolJobState SpoolUtil::jobState(std::int64_t rawValue) {
    if (rawValue >= 1 && rawValue <= 9) return static_cast<SpoolJobState>(rawValue);
    return SpoolJobState::unknown;
}

SpoolJobReceivedInterface SpoolUtil::jobReceivedInterface(std::int64_t rawValue) {
    if (rawValue >= 0 && rawValue <= 4) return static_cast<SpoolJobReceivedInterface>(rawValue + 1);
    if (rawValue >= 10 && rawValue <= 12) return static_cast<SpoolJobReceivedInterface>(rawValue - 4);
    return SpoolJobReceivedInterface::unknown;
}

}  // namespace Prelix10
