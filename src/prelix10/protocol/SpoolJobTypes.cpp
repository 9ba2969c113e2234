#include "prelix10/protocol/SpoolJobTypes.hpp"

#include <nlohmann/json.hpp>

#include "prelix10/core/JSONBuilder.hpp"
#include "prelix10/core/PropertyDescription.hpp"

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

std::string OrvoSpoolJobSettingsAdditionalInfo::jsonText() const {
    const std::pair<const char*, const std::string*> fields[] = {
        {"title", &title},           {"version", &version}, {"note", &note},      {"app_info", &app_info},
        {"host_model", &host_model}, {"host_OS", &host_OS}, {"host_IP", &host_IP},
    };
    std::string out = "{\n";
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        out += "\t\"";
        out += fields[i].first;
        out += "\": \"";
        JSONBuilder::appendEscaped(out, *fields[i].second);
        out += i + 1 < std::size(fields) ? "\",\n" : "\"\n";
    }
    out += "}";
    return out;
}

std::string OrvoSpoolJobSettings::description() const {
    return PropertyDescription().add("isRetryEnabled", isRetryEnabled_).add("timeout", timeout_).add("note", note_).text();
}

std::string OrvoSpoolJobStatus::description() const {
    return PropertyDescription()
        .add("jobId", fields_.jobId)
        .add("jobState", fields_.jobState)
        .add("elapsedTime", fields_.elapsedTime)
        .add("jobReceivedInterface", fields_.jobReceivedInterface)
        .add("appInfo", fields_.appInfo)
        .add("hostModel", fields_.hostModel)
        .add("hostOS", fields_.hostOS)
        .add("hostIpAddress", fields_.hostIpAddress)
        .add("jobSettings", fields_.jobSettings)
        .text();
}

std::optional<SpoolJobReceivedInterface> SpoolJobReceivedInterfaces::fromRawValue(std::int64_t raw) {
    if (raw < 0 || raw > 8) return std::nullopt;
    return static_cast<SpoolJobReceivedInterface>(raw);
}

std::string SpoolJobReceivedInterfaces::description(SpoolJobReceivedInterface value) {
    static constexpr const char* kNames[] = {"unknown", "usbPrinterClass", "usbAOA",       "usbiAP", "bluetooth",
                                             "lan",     "cloudKestrin",    "webKestrin", "qvtd"};
    const auto raw = static_cast<int>(value);
    return raw >= 0 && raw <= 8 ? kNames[raw] : "unknown";
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
