// The C face of the wireless LAN setting object and its value types.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/SettingFaceHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/wlan/APInfo.hpp"
#include "prelix10/wlan/CurrentWLanInfo.hpp"
#include "prelix10/wlan/FoundAPInfo.hpp"
#include "prelix10/wlan/OrvoWLanSetting.hpp"
#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

OrvoWLanSetting& settingOf(const prelix10_wlan_setting* handle) {
    return *checked(handle, "setting").setting;
}

constexpr int kSecurityTypeCount = 6;

std::optional<WLanMode> modeFrom(int mode) {
    if (mode < 0 || mode > 0xFF) return std::nullopt;
    return WLanModes::fromRawValue(static_cast<std::uint8_t>(mode));
}

WLanMode requiredMode(int mode) {
    const auto value = modeFrom(mode);
    if (!value) throw argumentError("Invalid argument: wlan mode.");
    return *value;
}

WLanSecurityType requiredSecurityType(int type) {
    if (type < 0 || type >= kSecurityTypeCount) throw argumentError("Invalid argument: security type.");
    return WLanSecurityType::allCases()[static_cast<std::size_t>(type)];
}

int securityTypeConstant(const WLanSecurityType& type) {
    return static_cast<int>(type.value());
}

std::string textOf(const char* text) {
    return text == nullptr ? std::string() : std::string(text);
}

APInfo apInfoFrom(const prelix10_ap_info& info) {
    return APInfo(requiredMode(info.wlan_mode), textOf(info.ssid), requiredSecurityType(info.security_type),
                  textOf(info.password));
}

// The C view of a current-information record; its strings point into the record.
prelix10_current_wlan_info viewOf(const CurrentWLanInfo& info) {
    prelix10_current_wlan_info view{};
    view.ssid = info.ssid.c_str();
    view.mode = WLanModes::rawValue(info.mode);
    view.channel = info.channel;
    view.bssid = info.bssid.c_str();
    view.security_type = securityTypeConstant(info.securityType);
    view.rssi = info.rssi;
    view.is_passed_ssid = info.isPassedSsid ? 1 : 0;
    view.is_passed_security_type = info.isPassedSecurityType ? 1 : 0;
    view.is_passed_security_key = info.isPassedSecurityKey ? 1 : 0;
    return view;
}

Prelix10Error unknownError() {
    return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
}

}  // namespace

extern "C" {

const char* prelix10_wlan_mode_description(int mode) {
    switch (mode) {
        case PRELIX10_WLAN_MODE_UNKNOWN:
            return "unknown";
        case PRELIX10_WLAN_MODE_INFRASTRUCTURE:
            return "infrastructure";
        case PRELIX10_WLAN_MODE_ACCESS_POINT:
            return "accessPoint";
        default:
            return nullptr;
    }
}

const char* prelix10_wlan_security_type_description(int security_type) {
    static const char* const kDescriptions[kSecurityTypeCount] = {"unknown",      "open",    "wpaPersonal",
                                                                  "wpa2Personal", "wpa3SAE", "auto"};
    if (security_type < 0 || security_type >= kSecurityTypeCount) return nullptr;
    return kDescriptions[security_type];
}

int prelix10_wlan_security_type_raw_value(int security_type, const uint8_t** bytes, size_t* size,
                                          prelix10_error** error) {
    return guarded(error, [&] {
        auto& outBytes = required(bytes, "bytes");
        auto& outSize = required(size, "size");
        // Static copies of every case's bytes, so the caller never releases them.
        static const std::array<std::vector<std::uint8_t>, kSecurityTypeCount> kRaw = [] {
            std::array<std::vector<std::uint8_t>, kSecurityTypeCount> raw;
            for (int i = 0; i < kSecurityTypeCount; ++i)
                raw[static_cast<std::size_t>(i)] =
                    WLanSecurityType::allCases()[static_cast<std::size_t>(i)].rawValue();
            return raw;
        }();
        requiredSecurityType(security_type);
        const auto& raw = kRaw[static_cast<std::size_t>(security_type)];
        outBytes = raw.data();
        outSize = raw.size();
    });
}

int prelix10_wlan_security_type_from_raw_value(const uint8_t* data, size_t size, int* security_type,
                                               prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(security_type, "security_type");
        if (data == nullptr && size != 0) throw argumentError("Invalid argument: data.");
        const std::span<const std::uint8_t> raw(data, data == nullptr ? 0 : size);
        out = securityTypeConstant(WLanSecurityType::fromRawValue(raw));
    });
}

int prelix10_ap_info_description(const prelix10_ap_info* ap_info, char** description,
                                 prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(description, "description");
        out = nullptr;
        const auto& info = required(ap_info, "ap_info");
        out = ownedText(apInfoFrom(info).description());
    });
}

int prelix10_found_ap_info_description(const prelix10_found_ap_info* found, char** description,
                                       prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(description, "description");
        out = nullptr;
        const auto& info = required(found, "found");
        const FoundAPInfo value(textOf(info.ssid), textOf(info.bssid), info.channel, info.rssi,
                                textOf(info.security));
        out = ownedText(value.description());
    });
}

int prelix10_current_wlan_info_description(const prelix10_current_wlan_info* info, char** description,
                                           prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(description, "description");
        out = nullptr;
        const auto& c = required(info, "info");
        const CurrentWLanInfo value(textOf(c.ssid), requiredMode(c.mode), c.channel, textOf(c.bssid),
                                    requiredSecurityType(c.security_type), c.rssi, c.is_passed_ssid != 0,
                                    c.is_passed_security_type != 0, c.is_passed_security_key != 0);
        out = ownedText(value.description());
    });
}

int prelix10_wlan_setting_create(int interface_type, const char* identifier, int auto_switch_interface,
                                 prelix10_wlan_setting** setting, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(setting, "setting");
        out = nullptr;
        auto object = OrvoWLanSetting::create(
            connectionSettingsFrom(interface_type, identifier, auto_switch_interface));
        out = newHandle<prelix10_wlan_setting>(std::move(object));
    });
}

int prelix10_wlan_setting_create_from_setting_device(const prelix10_setting_device* device,
                                                     prelix10_wlan_setting** setting,
                                                     prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(setting, "setting");
        out = nullptr;
        const auto& source = *checked(device, "device").device;
        out = newHandle<prelix10_wlan_setting>(OrvoWLanSetting::create(source));
    });
}

void prelix10_wlan_setting_release(prelix10_wlan_setting* setting) {
    releaseHandle(setting);
}

int prelix10_wlan_setting_setting_device(const prelix10_wlan_setting* setting,
                                         prelix10_setting_device** device, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(device, "device");
        out = nullptr;
        std::shared_ptr<OrvoSettingDevice> object = checked(setting, "setting").setting;
        out = newHandle<prelix10_setting_device>(std::move(object));
    });
}

int prelix10_wlan_setting_get_service_status(const prelix10_wlan_setting* setting, int* has_status,
                                             prelix10_wlan_setting_service_status* status,
                                             prelix10_error** error) {
    return guarded(error, [&] {
        auto& present = required(has_status, "has_status");
        auto& out = required(status, "status");
        const auto value = settingOf(setting).serviceStatus();
        present = value ? 1 : 0;
        if (!value) return;
        out.is_infrastructure_mode = value->isInfrastructureMode ? 1 : 0;
        out.is_connected_wired_lan = value->isConnectedWiredLan ? 1 : 0;
        out.is_wlan_disabled = value->isWlanDisabled ? 1 : 0;
        out.is_ap_connection_succeeded = value->isAPConnectionSucceeded ? 1 : 0;
    });
}

int prelix10_wlan_setting_init_setting(prelix10_wlan_setting* setting, prelix10_completion completion,
                                       void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(setting, "setting").setting;
        object->initSetting(errorCompletion(completion, context));
    });
}

int prelix10_wlan_setting_load_current_info(prelix10_wlan_setting* setting,
                                            prelix10_current_wlan_info_completion completion, void* context,
                                            prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(setting, "setting").setting;
        object->loadCurrentInfo(
            [completion, context](std::optional<CurrentWLanInfo> info, std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                if (!info && !failure) failure = unknownError();
                const BorrowedError borrowed(failure);
                prelix10_current_wlan_info view{};
                if (!failure) view = viewOf(*info);
                callOut([&] { completion(context, failure ? nullptr : &view, borrowed.get()); });
            });
    });
}

int prelix10_wlan_setting_setup_connection(prelix10_wlan_setting* setting, const prelix10_ap_info* ap_info,
                                           prelix10_completion completion, void* context,
                                           prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(setting, "setting").setting;
        APInfo info = apInfoFrom(required(ap_info, "ap_info"));
        object->setupConnection(std::move(info), errorCompletion(completion, context));
    });
}

int prelix10_wlan_setting_fetch_nearby_access_point_info(prelix10_wlan_setting* setting,
                                                         prelix10_found_ap_info_completion completion,
                                                         void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(setting, "setting").setting;
        object->fetchNearbyAccessPointInfo(
            [completion, context](std::optional<std::vector<FoundAPInfo>> found,
                                  std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                if (!found && !failure) failure = unknownError();
                std::vector<prelix10_found_ap_info> views;
                if (!failure) {
                    try {
                        views.reserve(found->size() + 1);
                        for (const auto& ap : *found) {
                            views.push_back(prelix10_found_ap_info{ap.ssid.c_str(), ap.bssid.c_str(),
                                                                   ap.channel, ap.rssi, ap.security.c_str()});
                        }
                    } catch (...) {
                        failure = errorFromCurrentException();
                    }
                }
                const BorrowedError borrowed(failure);
                // An empty list is still a list: reserve gave it room, so its pointer is not NULL.
                const prelix10_found_ap_info* list = failure ? nullptr : views.data();
                const std::size_t count = failure ? 0 : views.size();
                callOut([&] { completion(context, list, count, borrowed.get()); });
            });
    });
}

}  // extern "C"
