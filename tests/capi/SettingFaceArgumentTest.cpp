// Every function of the setting faces, called with handles that are not live handles of the right type and
// with missing arguments: each fails with an argument record and runs no completion.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capi/SettingFaceCallbacks.hpp"
#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/SettingFaceHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/OrvoPrinterInformation.hpp"
#include "prelix10/setting/OrvoPrinterSetting.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;
using Call = std::function<int(void* handle, prelix10_error** error)>;

enum class HandleType { printer, setting, firmware, device, manager, wlan };

struct Entry {
    const char* name;
    HandleType type;
    Call call;
};

// A completion no call of this file may reach.
Completion unreachable;
void* const kContext = &unreachable;

const prelix10_firmware_update_delegate kFirmwareTable{};
const prelix10_setting_device_discovery_delegate kDiscoveryTable{};
const prelix10_ap_info kApInfo{PRELIX10_WLAN_MODE_INFRASTRUCTURE, "shop", PRELIX10_WLAN_SECURITY_TYPE_OPEN,
                               ""};

template <typename T>
T* as(void* handle) {
    return static_cast<T*>(handle);
}

std::vector<Entry> handleEntries() {
    using H = HandleType;
    int i = 0;
    int64_t i64 = 0;
    char* text = nullptr;
    prelix10_printer_setting* setting = nullptr;
    prelix10_printer_setting_firmware* firmware = nullptr;
    prelix10_wlan_setting* wlan = nullptr;
    prelix10_setting_device* device = nullptr;
    prelix10_wlan_setting_service_status status{};
    // The outputs are written only on success, which none of these calls reaches.
    return {
        {"printer_get_setting", H::printer,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_printer_get_setting(as<prelix10_printer>(h), &setting, e);
         }},
        {"printer_setting_get_firmware", H::setting,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_printer_setting_get_firmware(as<prelix10_printer_setting>(h), &firmware, e);
         }},
        {"firmware_current_version", H::firmware,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_printer_setting_firmware_current_version(
                 as<prelix10_printer_setting_firmware>(h), &text, e);
         }},
        {"firmware_set_current_version", H::firmware,
         [](void* h, prelix10_error** e) {
             return prelix10_printer_setting_firmware_set_current_version(
                 as<prelix10_printer_setting_firmware>(h), "1.0", e);
         }},
        {"firmware_latest_version", H::firmware,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_printer_setting_firmware_latest_version(as<prelix10_printer_setting_firmware>(h),
                                                                     &text, e);
         }},
        {"firmware_set_latest_version", H::firmware,
         [](void* h, prelix10_error** e) {
             return prelix10_printer_setting_firmware_set_latest_version(
                 as<prelix10_printer_setting_firmware>(h), "1.1", e);
         }},
        {"firmware_is_updatable", H::firmware,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_printer_setting_firmware_is_updatable(as<prelix10_printer_setting_firmware>(h),
                                                                   &i, e);
         }},
        {"firmware_set_update_delegate", H::firmware,
         [](void* h, prelix10_error** e) {
             return prelix10_printer_setting_firmware_set_update_delegate(
                 as<prelix10_printer_setting_firmware>(h), &kFirmwareTable, kContext, e);
         }},
        {"firmware_get_current_version", H::firmware,
         [](void* h, prelix10_error** e) {
             return prelix10_printer_setting_firmware_get_current_version(
                 as<prelix10_printer_setting_firmware>(h), Completion::onText, kContext, e);
         }},
        {"firmware_check_versions", H::firmware,
         [](void* h, prelix10_error** e) {
             return prelix10_printer_setting_firmware_check_versions(as<prelix10_printer_setting_firmware>(h),
                                                                     Completion::onError, kContext, e);
         }},
        {"firmware_update", H::firmware,
         [](void* h, prelix10_error** e) {
             return prelix10_printer_setting_firmware_update(as<prelix10_printer_setting_firmware>(h),
                                                             Completion::onError, kContext, e);
         }},
        {"device_connection_settings", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_connection_settings(as<prelix10_setting_device>(h), &i, &text, &i,
                                                                e);
         }},
        {"device_open_timeout", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_open_timeout(as<prelix10_setting_device>(h), &i, e);
         }},
        {"device_set_open_timeout", H::device,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_set_open_timeout(as<prelix10_setting_device>(h), 5, e);
         }},
        {"device_communication_timeout", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_communication_timeout(as<prelix10_setting_device>(h), &i, e);
         }},
        {"device_set_communication_timeout", H::device,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_set_communication_timeout(as<prelix10_setting_device>(h), 5, e);
         }},
        {"device_ble_rssi", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_ble_rssi(as<prelix10_setting_device>(h), &i, e);
         }},
        {"device_is_opened", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_is_opened(as<prelix10_setting_device>(h), &i, e);
         }},
        {"device_information", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_information(as<prelix10_setting_device>(h), &i, &i, &i, &text,
                                                        &text, e);
         }},
        {"device_description", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_description(as<prelix10_setting_device>(h), &text, e);
         }},
        {"device_open", H::device,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_open(as<prelix10_setting_device>(h), Completion::onError,
                                                 kContext, e);
         }},
        {"device_close", H::device,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_close(as<prelix10_setting_device>(h), Completion::onVoid,
                                                  kContext, e);
         }},
        {"device_write", H::device,
         [](void* h, prelix10_error** e) {
             static const uint8_t bytes[] = {0x41};
             return prelix10_setting_device_write(as<prelix10_setting_device>(h), bytes, 1, 100,
                                                  Completion::onError, kContext, e);
         }},
        {"device_read", H::device,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_read(as<prelix10_setting_device>(h), 10, Completion::onBytes,
                                                 kContext, e);
         }},
        {"manager_set_delegate", H::manager,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_set_delegate(
                 as<prelix10_setting_device_discovery_manager>(h), &kDiscoveryTable, kContext, e);
         }},
        {"manager_discovery_time", H::manager,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_discovery_manager_discovery_time(
                 as<prelix10_setting_device_discovery_manager>(h), &i64, e);
         }},
        {"manager_set_discovery_time", H::manager,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_set_discovery_time(
                 as<prelix10_setting_device_discovery_manager>(h), 100, e);
         }},
        {"manager_is_enabled_find_same_device", H::manager,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_setting_device_discovery_manager_is_enabled_find_same_device(
                 as<prelix10_setting_device_discovery_manager>(h), &i, e);
         }},
        {"manager_set_is_enabled_find_same_device", H::manager,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_set_is_enabled_find_same_device(
                 as<prelix10_setting_device_discovery_manager>(h), 1, e);
         }},
        {"manager_start_discovery", H::manager,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_start_discovery(
                 as<prelix10_setting_device_discovery_manager>(h), e);
         }},
        {"manager_stop_discovery", H::manager,
         [](void* h, prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_stop_discovery(
                 as<prelix10_setting_device_discovery_manager>(h), e);
         }},
        {"wlan_create_from_setting_device", H::device,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_wlan_setting_create_from_setting_device(as<prelix10_setting_device>(h), &wlan,
                                                                     e);
         }},
        {"wlan_setting_device", H::wlan,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_wlan_setting_setting_device(as<prelix10_wlan_setting>(h), &device, e);
         }},
        {"wlan_get_service_status", H::wlan,
         [=](void* h, prelix10_error** e) mutable {
             return prelix10_wlan_setting_get_service_status(as<prelix10_wlan_setting>(h), &i, &status, e);
         }},
        {"wlan_init_setting", H::wlan,
         [](void* h, prelix10_error** e) {
             return prelix10_wlan_setting_init_setting(as<prelix10_wlan_setting>(h), Completion::onError,
                                                       kContext, e);
         }},
        {"wlan_load_current_info", H::wlan,
         [](void* h, prelix10_error** e) {
             return prelix10_wlan_setting_load_current_info(
                 as<prelix10_wlan_setting>(h),
                 [](void*, const prelix10_current_wlan_info*, const prelix10_error*) {
                     unreachable.finish();
                 },
                 kContext, e);
         }},
        {"wlan_setup_connection", H::wlan,
         [](void* h, prelix10_error** e) {
             return prelix10_wlan_setting_setup_connection(as<prelix10_wlan_setting>(h), &kApInfo,
                                                           Completion::onError, kContext, e);
         }},
        {"wlan_fetch_nearby_access_point_info", H::wlan,
         [](void* h, prelix10_error** e) {
             return prelix10_wlan_setting_fetch_nearby_access_point_info(
                 as<prelix10_wlan_setting>(h),
                 [](void*, const prelix10_found_ap_info*, size_t, const prelix10_error*) {
                     unreachable.finish();
                 },
                 kContext, e);
         }},
    };
}

void expectArgumentError(int result, prelix10_error* error, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(result, PRELIX10_FAILED);
    const auto copied = takeError(error);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->domain, PRELIX10_ERROR_DOMAIN);
    EXPECT_EQ(copied->code, PRELIX10_ERROR_ARGUMENT);
    EXPECT_FALSE(copied->message.empty());
}

// A handle of each type made and released at once: its pointer is no longer a live handle.
template <typename Handle>
void* releasedHandle() {
    auto* handle = CApi::newHandle<Handle>(nullptr);
    CApi::releaseHandle(handle);
    return handle;
}

class SettingFaceArgumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(prelix10_setting_device_create(3, "00:11:62:5E:77:01", 0, &liveDevice, nullptr),
                  PRELIX10_OK);
        ASSERT_EQ(prelix10_wlan_setting_create(3, "00:11:62:5E:77:01", 0, &liveWLan, nullptr), PRELIX10_OK);
    }
    void TearDown() override {
        prelix10_setting_device_release(liveDevice);
        prelix10_wlan_setting_release(liveWLan);
    }

    // The handle of another type that the registry must tell apart.
    void* foreignTo(HandleType type) const {
        return type == HandleType::device ? static_cast<void*>(liveWLan) : static_cast<void*>(liveDevice);
    }

    prelix10_setting_device* liveDevice = nullptr;
    prelix10_wlan_setting* liveWLan = nullptr;
};

TEST_F(SettingFaceArgumentTest, EveryFunctionRefusesHandlesThatAreNotLiveHandlesOfItsType) {
    const std::vector<std::pair<HandleType, void*>> released = {
        {HandleType::printer, releasedHandle<prelix10_printer>()},
        {HandleType::setting, releasedHandle<prelix10_printer_setting>()},
        {HandleType::firmware, releasedHandle<prelix10_printer_setting_firmware>()},
        {HandleType::device, releasedHandle<prelix10_setting_device>()},
        {HandleType::manager, releasedHandle<prelix10_setting_device_discovery_manager>()},
        {HandleType::wlan, releasedHandle<prelix10_wlan_setting>()},
    };
    long notAHandle = 0;
    for (const auto& entry : handleEntries()) {
        void* releasedOfType = nullptr;
        for (const auto& [type, pointer] : released)
            if (type == entry.type) releasedOfType = pointer;
        const std::pair<const char*, void*> bad[] = {
            {"null", nullptr},
            {"released", releasedOfType},
            {"other type", foreignTo(entry.type)},
            {"unregistered", &notAHandle},
        };
        for (const auto& [label, handle] : bad) {
            prelix10_error* error = nullptr;
            const int result = entry.call(handle, &error);
            expectArgumentError(result, error, std::string(entry.name) + " with a " + label + " handle");
            // Without a place for the record the call still fails cleanly.
            EXPECT_EQ(entry.call(handle, nullptr), PRELIX10_FAILED) << entry.name;
        }
    }
    // A completion queued by mistake would have run by now.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(unreachable.callCount(), 0);
}

TEST_F(SettingFaceArgumentTest, ReleasingAnythingButAnOwnedHandleDoesNothing) {
    long notAHandle = 0;
    prelix10_printer_setting_release(nullptr);
    prelix10_printer_setting_firmware_release(nullptr);
    prelix10_setting_device_release(nullptr);
    prelix10_setting_device_discovery_manager_release(nullptr);
    prelix10_wlan_setting_release(nullptr);
    prelix10_printer_setting_release(reinterpret_cast<prelix10_printer_setting*>(&notAHandle));
    prelix10_printer_setting_firmware_release(
        reinterpret_cast<prelix10_printer_setting_firmware*>(liveDevice));
    prelix10_setting_device_discovery_manager_release(
        reinterpret_cast<prelix10_setting_device_discovery_manager*>(liveWLan));
    prelix10_wlan_setting_release(reinterpret_cast<prelix10_wlan_setting*>(liveDevice));
    prelix10_setting_device_release(reinterpret_cast<prelix10_setting_device*>(liveWLan));
    // Both live handles survived the wrong-typed releases.
    int rssi = 0;
    EXPECT_EQ(prelix10_setting_device_ble_rssi(liveDevice, &rssi, nullptr), PRELIX10_OK);
    EXPECT_EQ(rssi, PRELIX10_SETTING_DEVICE_NO_RSSI);
    int has = 1;
    prelix10_wlan_setting_service_status status{};
    EXPECT_EQ(prelix10_wlan_setting_get_service_status(liveWLan, &has, &status, nullptr), PRELIX10_OK);
    EXPECT_EQ(has, 0);
}

TEST_F(SettingFaceArgumentTest, MissingAndOutOfRangeArgumentsOfLiveHandles) {
    // A firmware object of a printer that is not there: enough for the argument checks.
    auto firmwareObject =
        OrvoPrinterSettingFirmware::create(nullptr, OrvoPrinterInformation(), nullptr, nullptr);
    auto* firmware = CApi::newHandle<prelix10_printer_setting_firmware>(firmwareObject);
    auto* manager = static_cast<prelix10_setting_device_discovery_manager*>(nullptr);
    const int ble = 3;
    ASSERT_EQ(prelix10_setting_device_discovery_manager_create(&ble, 1, &manager, nullptr), PRELIX10_OK);
    int i = 0;
    char* text = nullptr;
    const uint8_t* raw = nullptr;
    size_t size = 0;
    prelix10_ap_info badMode = kApInfo;
    badMode.wlan_mode = 0x33;
    prelix10_ap_info badSecurity = kApInfo;
    badSecurity.security_type = 6;
    prelix10_current_wlan_info badInfo{"shop", 0x00, 1, "b", 0, 0, 0, 0, 0};

    const std::pair<const char*, std::function<int(prelix10_error**)>> cases[] = {
        {"get_firmware without output",
         [&](prelix10_error** e) {
             auto setting = std::make_shared<OrvoPrinterSetting>(firmwareObject);
             auto* handle = CApi::newHandle<prelix10_printer_setting>(setting);
             const int result = prelix10_printer_setting_get_firmware(handle, nullptr, e);
             prelix10_printer_setting_release(handle);
             return result;
         }},
        {"current_version without output",
         [&](prelix10_error** e) {
             return prelix10_printer_setting_firmware_current_version(firmware, nullptr, e);
         }},
        {"set_current_version to NULL",
         [&](prelix10_error** e) {
             return prelix10_printer_setting_firmware_set_current_version(firmware, nullptr, e);
         }},
        {"latest_version without output",
         [&](prelix10_error** e) {
             return prelix10_printer_setting_firmware_latest_version(firmware, nullptr, e);
         }},
        {"is_updatable without output",
         [&](prelix10_error** e) {
             return prelix10_printer_setting_firmware_is_updatable(firmware, nullptr, e);
         }},
        {"device_create without identifier",
         [&](prelix10_error** e) {
             prelix10_setting_device* d = nullptr;
             return prelix10_setting_device_create(3, nullptr, 0, &d, e);
         }},
        {"device_create without output",
         [&](prelix10_error** e) { return prelix10_setting_device_create(3, "A", 0, nullptr, e); }},
        {"open_timeout without output",
         [&](prelix10_error** e) { return prelix10_setting_device_open_timeout(liveDevice, nullptr, e); }},
        {"communication_timeout without output",
         [&](prelix10_error** e) {
             return prelix10_setting_device_communication_timeout(liveDevice, nullptr, e);
         }},
        {"ble_rssi without output",
         [&](prelix10_error** e) { return prelix10_setting_device_ble_rssi(liveDevice, nullptr, e); }},
        {"is_opened without output",
         [&](prelix10_error** e) { return prelix10_setting_device_is_opened(liveDevice, nullptr, e); }},
        {"description without output",
         [&](prelix10_error** e) { return prelix10_setting_device_description(liveDevice, nullptr, e); }},
        {"write of NULL data",
         [&](prelix10_error** e) {
             return prelix10_setting_device_write(liveDevice, nullptr, 3, 100, Completion::onError, kContext,
                                                  e);
         }},
        {"manager_create of NULL types",
         [&](prelix10_error** e) {
             prelix10_setting_device_discovery_manager* m = nullptr;
             return prelix10_setting_device_discovery_manager_create(nullptr, 2, &m, e);
         }},
        {"manager_create without output",
         [&](prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_create(&ble, 1, nullptr, e);
         }},
        {"discovery_time without output",
         [&](prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_discovery_time(manager, nullptr, e);
         }},
        {"is_enabled_find_same_device without output",
         [&](prelix10_error** e) {
             return prelix10_setting_device_discovery_manager_is_enabled_find_same_device(manager, nullptr,
                                                                                          e);
         }},
        {"security raw value of 6",
         [&](prelix10_error** e) { return prelix10_wlan_security_type_raw_value(6, &raw, &size, e); }},
        {"security raw value of -1",
         [&](prelix10_error** e) { return prelix10_wlan_security_type_raw_value(-1, &raw, &size, e); }},
        {"security raw value without output",
         [&](prelix10_error** e) { return prelix10_wlan_security_type_raw_value(1, nullptr, &size, e); }},
        {"security from NULL bytes",
         [&](prelix10_error** e) { return prelix10_wlan_security_type_from_raw_value(nullptr, 1, &i, e); }},
        {"security from bytes without output",
         [&](prelix10_error** e) { return prelix10_wlan_security_type_from_raw_value(raw, 0, nullptr, e); }},
        {"ap_info description of NULL",
         [&](prelix10_error** e) { return prelix10_ap_info_description(nullptr, &text, e); }},
        {"ap_info description of a bad mode",
         [&](prelix10_error** e) { return prelix10_ap_info_description(&badMode, &text, e); }},
        {"found description of NULL",
         [&](prelix10_error** e) { return prelix10_found_ap_info_description(nullptr, &text, e); }},
        {"current description of a bad mode",
         [&](prelix10_error** e) { return prelix10_current_wlan_info_description(&badInfo, &text, e); }},
        {"wlan_create without identifier",
         [&](prelix10_error** e) {
             prelix10_wlan_setting* w = nullptr;
             return prelix10_wlan_setting_create(3, nullptr, 0, &w, e);
         }},
        {"wlan_setting_device without output",
         [&](prelix10_error** e) { return prelix10_wlan_setting_setting_device(liveWLan, nullptr, e); }},
        {"service_status without status",
         [&](prelix10_error** e) {
             return prelix10_wlan_setting_get_service_status(liveWLan, &i, nullptr, e);
         }},
        {"setup_connection of NULL",
         [&](prelix10_error** e) {
             return prelix10_wlan_setting_setup_connection(liveWLan, nullptr, Completion::onError, kContext,
                                                           e);
         }},
        {"setup_connection of a bad mode",
         [&](prelix10_error** e) {
             return prelix10_wlan_setting_setup_connection(liveWLan, &badMode, Completion::onError, kContext,
                                                           e);
         }},
        {"setup_connection of a bad security type",
         [&](prelix10_error** e) {
             return prelix10_wlan_setting_setup_connection(liveWLan, &badSecurity, Completion::onError,
                                                           kContext, e);
         }},
    };
    for (const auto& [label, call] : cases) {
        prelix10_error* error = nullptr;
        const int result = call(&error);
        expectArgumentError(result, error, label);
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(unreachable.callCount(), 0);
    prelix10_setting_device_discovery_manager_release(manager);
    prelix10_printer_setting_firmware_release(firmware);
}

}  // namespace
}  // namespace Prelix10::Testing
