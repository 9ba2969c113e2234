#include "prelix10/setting/OrvoConfig.hpp"

#include <nlohmann/json.hpp>

#include "prelix10/core/Log.hpp"

namespace Prelix10 {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// Reads a required string field; false when it is missing or not a string.
bool readRequired(const Json& object, const char* key, std::string& out) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return false;
    out = it->get<std::string>();
    return true;
}

// Reads an optional string field; false only when it is present with another type than string or null.
bool readOptional(const Json& object, const char* key, std::optional<std::string>& out) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) return true;
    if (!it->is_string()) return false;
    out = it->get<std::string>();
    return true;
}

template <typename T, typename ReadOne>
bool readOptionalList(const Json& object, const char* key, std::optional<std::vector<T>>& out, ReadOne readOne) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) return true;
    if (!it->is_array()) return false;
    std::vector<T> list;
    list.reserve(it->size());
    for (const auto& entry : *it) {
        if (!entry.is_object()) return false;
        T value;
        if (!readOne(entry, value)) return false;
        list.push_back(std::move(value));
    }
    out = std::move(list);
    return true;
}

bool readFirmware(const Json& object, OrvoConfig::Firmware& out) {
    return readRequired(object, "action", out.action) && readRequired(object, "device_name", out.deviceName) &&
           readRequired(object, "path_type", out.pathType) && readRequired(object, "path", out.path) &&
           readOptional(object, "file_type", out.fileType) && readOptional(object, "print_type", out.printType) &&
           readOptional(object, "print_before_writing", out.printBeforeWriting) &&
           readOptional(object, "selftest_after_writing", out.selftestAfterWriting);
}

bool readConfiguration(const Json& object, OrvoConfig::Configuration& out) {
    return readRequired(object, "device_name", out.deviceName) &&
           readOptional(object, "print_type", out.printType) &&
           readOptional(object, "print_before_writing", out.printBeforeWriting) &&
           readOptional(object, "selftest_after_writing", out.selftestAfterWriting);
}

void put(OrderedJson& object, const char* key, const std::optional<std::string>& value) {
    if (value) object[key] = *value;
}

OrderedJson toJson(const OrvoConfig::Firmware& firmware) {
    OrderedJson object = OrderedJson::object();
    object["action"] = firmware.action;
    object["device_name"] = firmware.deviceName;
    object["path_type"] = firmware.pathType;
    object["path"] = firmware.path;
    put(object, "file_type", firmware.fileType);
    put(object, "print_type", firmware.printType);
    put(object, "print_before_writing", firmware.printBeforeWriting);
    put(object, "selftest_after_writing", firmware.selftestAfterWriting);
    return object;
}

OrderedJson toJson(const OrvoConfig::Configuration& configuration) {
    OrderedJson object = OrderedJson::object();
    object["device_name"] = configuration.deviceName;
    put(object, "print_type", configuration.printType);
    put(object, "print_before_writing", configuration.printBeforeWriting);
    put(object, "selftest_after_writing", configuration.selftestAfterWriting);
    return object;
}

OrderedJson toJson(const OrvoConfig::Root& root) {
    OrderedJson object = OrderedJson::object();
    object["title"] = root.title;
    object["version"] = root.version;
    put(object, "notification", root.notification);
    put(object, "print_when_completed_type", root.printWhenCompletedType);
    put(object, "print_when_completed", root.printWhenCompleted);
    if (root.firmwares) {
        OrderedJson list = OrderedJson::array();
        for (const auto& firmware : *root.firmwares) list.push_back(toJson(firmware));
        object["firmwares"] = std::move(list);
    }
    if (root.configurations) {
        OrderedJson list = OrderedJson::array();
        for (const auto& configuration : *root.configurations) list.push_back(toJson(configuration));
        object["configurations"] = std::move(list);
    }
    return object;
}

}  // namespace

std::optional<OrvoConfig::Root> OrvoConfig::Root::decode(std::string_view text) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;
    Root root;
    const bool ok = readRequired(document, "title", root.title) && readRequired(document, "version", root.version) &&
                    readOptional(document, "notification", root.notification) &&
                    readOptional(document, "print_when_completed_type", root.printWhenCompletedType) &&
                    readOptional(document, "print_when_completed", root.printWhenCompleted) &&
                    readOptionalList(document, "firmwares", root.firmwares, readFirmware) &&
                    readOptionalList(document, "configurations", root.configurations, readConfiguration);
    if (!ok) return std::nullopt;
    return root;
}

std::string OrvoConfig::Root::encode() const {
    return toJson(*this).dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
}

std::string OrvoConfig::Root::description() const {
    return toJson(*this).dump(2, ' ', false, OrderedJson::error_handler_t::replace);
}

OrvoConfig::Root OrvoConfigFunction::orvoConfig(std::string_view text) {
    const Log log(static_cast<const void*>(nullptr), "OrvoConfigFunction", "orvoConfig(by:)", __LINE__);
    auto root = OrvoConfig::Root::decode(text);
    if (!root) {
        log.writeIfLogging([&] { return "Failed to decode a configuration document of " + std::to_string(text.size()) + " bytes"; });
        raiseUnexpectedState(log, 9);
    }
    return std::move(*root);
}

}  // namespace Prelix10
