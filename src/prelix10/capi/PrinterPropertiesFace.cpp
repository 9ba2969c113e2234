// The C face of the printer's connection settings, of what is known about it, and of the detail of its
// last operation, the last two as JSON text.

#include <nlohmann/json.hpp>

#include <string>

#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/InterfaceType.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

using Json = nlohmann::ordered_json;

Json optionalText(const std::optional<std::string>& text) { return text ? Json(*text) : Json(nullptr); }

// Texts, truth values and numbers as they are; other raw objects (a platform record) have no JSON form.
Json reservedValue(const ReservedValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* flag = std::get_if<bool>(&value)) return *flag;
    if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
    return nullptr;
}

Json informationJson(const OrvoPrinterInformation& information) {
    const auto detail = information.detail();
    Json out = Json::object();
    out["model"] = static_cast<int>(information.model);
    out["emulation"] = static_cast<int>(information.emulation);
    out["lan"] = {{"macAddress", optionalText(detail.lan->macAddress)},
                  {"ipAddress", optionalText(detail.lan->ipAddress)},
                  {"uniqueId", optionalText(detail.lan->uniqueId)}};
    out["bluetooth"] = {{"portName", optionalText(detail.bluetooth->portName)},
                        {"serialNumber", optionalText(detail.bluetooth->serialNumber)},
                        {"address", optionalText(detail.bluetooth->address)}};
    out["bluetoothLE"] = {{"address", optionalText(detail.bluetoothLE->address)},
                          {"deviceName", optionalText(detail.bluetoothLE->deviceName)}};
    out["usb"] = {{"portName", optionalText(detail.usb->portName)},
                  {"productSerialNumber", optionalText(detail.usb->productSerialNumber)},
                  {"usbSerialNumber", optionalText(detail.usb->usbSerialNumber)}};
    Json reserved = Json::object();
    for (const auto& [key, value] : information.reserved()) reserved[key] = reservedValue(value);
    out["reserved"] = std::move(reserved);
    return out;
}

Json errorJson(const PlatformErrorRecord& record) {
    Json out = {{"domain", record.domain}, {"code", record.code}, {"message", record.message}};
    for (const auto& [key, value] : record.userInfo) {
        if (const int* code = std::get_if<int>(&value)) out["userInfo"][key] = *code;
        else out["userInfo"][key] = nullptr;
    }
    return out;
}

// Byte sequences that are not UTF-8 (a device's name) are replaced, never refused.
std::string dumped(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

extern "C" {

int prelix10_printer_get_auto_switch_interface(const prelix10_printer* printer, int* auto_switch_interface,
                                               prelix10_error** error) {
    return guarded(error, [&] {
        const auto& object = printerOf(printer);
        required(auto_switch_interface, "auto_switch_interface") =
            object.connectionSettings().autoSwitchInterface() ? 1 : 0;
    });
}

int prelix10_printer_set_connection_settings(prelix10_printer* printer, int interface_type,
                                             const char* identifier, int auto_switch_interface,
                                             prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = printerOf(printer);
        const auto type = InterfaceTypes::fromRawValue(interface_type);
        if (!type) throw argumentError("Invalid argument: interface_type.");
        object.setConnectionSettings(
            OrvoConnectionSettings(*type, textFrom(identifier, "identifier"), auto_switch_interface != 0));
    });
}

int prelix10_printer_get_information_json(const prelix10_printer* printer, char** json, prelix10_error** error) {
    return guarded(error, [&] {
        const auto information = printerOf(printer).information();
        char*& out = required(json, "json");
        out = nullptr;
        if (information) out = ownedText(dumped(informationJson(*information)));
    });
}

int prelix10_printer_get_error_detail_json(const prelix10_printer* printer, char** json, prelix10_error** error) {
    return guarded(error, [&] {
        const auto detail = printerOf(printer).errorDetail();
        char*& out = required(json, "json");
        out = nullptr;
        Json errors = nullptr;
        if (const auto recorded = detail.autoSwitchInterfaceOpenErrors()) {
            errors = Json::object();
            for (const auto& [interfaceType, record] : *recorded) {
                errors[std::to_string(interfaceType)] = record ? errorJson(*record) : Json(nullptr);
            }
        }
        out = ownedText(dumped(Json{{"autoSwitchInterfaceOpenErrors", std::move(errors)}}));
    });
}

}  // extern "C"
