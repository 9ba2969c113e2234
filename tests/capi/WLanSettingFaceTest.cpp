// The wireless LAN setting face against a simulated wireless LAN module behind a Bluetooth LE setting device,
// and its value types.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "capi/SettingFaceCallbacks.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "support/Hex.hpp"
#include "support/SimulatedWLanModule.hpp"
#include "wlan/SettingDeviceFixture.hpp"

namespace Prelix10::Testing {
namespace {

using Strings = std::vector<std::string>;

const char* const kPassPhrase = "Zq7-pass-Phrase-41";

// What a current-information completion received, copied.
struct InfoCompletion : Completion {
    std::optional<prelix10_current_wlan_info> info;
    std::string ssid, bssid, description;
    static void on(void* context, const prelix10_current_wlan_info* info, const prelix10_error* error) {
        auto* self = static_cast<InfoCompletion*>(context);
        {
            std::lock_guard lock(self->mutex);
            self->error = copyError(error);
            if (info != nullptr) {
                self->info = *info;
                self->ssid = info->ssid;
                self->bssid = info->bssid;
                char* text = nullptr;
                if (prelix10_current_wlan_info_description(info, &text, nullptr) == PRELIX10_OK)
                    self->description = text;
                prelix10_string_release(text);
            }
        }
        self->finish();
    }
};

// What a scan completion received, copied.
struct ScanCompletion : Completion {
    bool listGiven = false;
    std::vector<std::string> descriptions;
    static void on(void* context, const prelix10_found_ap_info* list, size_t count,
                   const prelix10_error* error) {
        auto* self = static_cast<ScanCompletion*>(context);
        {
            std::lock_guard lock(self->mutex);
            self->error = copyError(error);
            self->listGiven = list != nullptr;
            for (size_t i = 0; list != nullptr && i < count; ++i) {
                char* text = nullptr;
                EXPECT_EQ(prelix10_found_ap_info_description(&list[i], &text, nullptr), PRELIX10_OK);
                self->descriptions.emplace_back(text ? text : "");
                prelix10_string_release(text);
            }
        }
        self->finish();
    }
};

class WLanSettingFaceTest : public SettingDeviceFixture {
  protected:
    void SetUp() override {
        SettingDeviceFixture::SetUp();
        module = std::make_shared<SimulatedWLanModule>();
        SimulatedWLanModule::AccessPoint ap;
        ap.ssid = "shop";
        ap.bssid = "10:20:30:40:50:60";
        ap.channel = 11;
        ap.indicator = -58;
        ap.security = "WPA2-PSK";
        ap.passPhrase = kPassPhrase;
        module->setAccessPoints({ap});
        peripheral = addSettingDevice(settingDeviceConfig(kAddress, kModel, false, 0x2B), module->handler());
        ASSERT_EQ(prelix10_wlan_setting_create(3, kAddress, 0, &setting, nullptr), PRELIX10_OK);
        ASSERT_EQ(prelix10_wlan_setting_setting_device(setting, &device, nullptr), PRELIX10_OK);
    }
    void TearDown() override {
        prelix10_setting_device_release(device);
        prelix10_wlan_setting_release(setting);
        SettingDeviceFixture::TearDown();
    }

    std::optional<CopiedError> run(int (*start)(prelix10_wlan_setting*, prelix10_completion, void*,
                                                prelix10_error**)) {
        Completion done;
        EXPECT_EQ(start(setting, Completion::onError, &done, nullptr), PRELIX10_OK);
        EXPECT_TRUE(done.wait());
        return done.error;
    }
    std::optional<CopiedError> open() {
        Completion done;
        EXPECT_EQ(prelix10_setting_device_open(device, Completion::onError, &done, nullptr), PRELIX10_OK);
        EXPECT_TRUE(done.wait());
        return done.error;
    }
    void close() {
        Completion done;
        EXPECT_EQ(prelix10_setting_device_close(device, Completion::onVoid, &done, nullptr), PRELIX10_OK);
        EXPECT_TRUE(done.wait());
    }

    std::shared_ptr<SimulatedWLanModule> module;
    std::shared_ptr<SimulatedBlePeripheral> peripheral;
    prelix10_wlan_setting* setting = nullptr;
    prelix10_setting_device* device = nullptr;
};

TEST_F(WLanSettingFaceTest, SetUpTheConnectionThenReadItBackAndScan) {
    ASSERT_EQ(open(), std::nullopt);
    const prelix10_ap_info ap{PRELIX10_WLAN_MODE_INFRASTRUCTURE, "shop",
                              PRELIX10_WLAN_SECURITY_TYPE_WPA2_PERSONAL, kPassPhrase};
    Completion setup;
    ASSERT_EQ(prelix10_wlan_setting_setup_connection(setting, &ap, Completion::onError, &setup, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(setup.wait());
    EXPECT_EQ(setup.error, std::nullopt);
    EXPECT_EQ(module->requests(), (Strings{"ATWPROF=1", "ATWSSID=shop", "ATWSEC=2",
                                           std::string("ATWPSK=") + kPassPhrase, "ATWSET=1"}));
    EXPECT_EQ(module->state().passPhrase, kPassPhrase);

    InfoCompletion info;
    ASSERT_EQ(prelix10_wlan_setting_load_current_info(setting, InfoCompletion::on, &info, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(info.wait());
    EXPECT_EQ(info.error, std::nullopt);
    ASSERT_TRUE(info.info);
    EXPECT_EQ(info.ssid, "shop");
    EXPECT_EQ(info.bssid, "10:20:30:40:50:60");
    EXPECT_EQ(info.info->mode, PRELIX10_WLAN_MODE_INFRASTRUCTURE);
    EXPECT_EQ(info.info->security_type, PRELIX10_WLAN_SECURITY_TYPE_WPA2_PERSONAL);
    EXPECT_EQ(info.info->channel, 11);
    EXPECT_EQ(info.info->rssi, -58);
    EXPECT_EQ(
        info.info->is_passed_ssid + info.info->is_passed_security_type + info.info->is_passed_security_key,
        3);
    EXPECT_EQ(info.description,
              "ssid : shop, mode : infrastructure, channel : 11, bssid : 10:20:30:40:50:60, securityType : "
              "wpa2Personal, "
              "rssi : -58, isPassedSsid : true, isPassedSecurityType : true, isPassedSecurityKey : true");

    ScanCompletion scan;
    ASSERT_EQ(
        prelix10_wlan_setting_fetch_nearby_access_point_info(setting, ScanCompletion::on, &scan, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(scan.wait());
    EXPECT_EQ(scan.error, std::nullopt);
    EXPECT_EQ(
        scan.descriptions,
        Strings{"ssid : shop, bssid : 10:20:30:40:50:60, channel : 11, rssi : -58, security : WPA2-PSK"});

    // An empty scan is an empty list, not a failure.
    module->setAccessPoints({});
    ScanCompletion none;
    ASSERT_EQ(
        prelix10_wlan_setting_fetch_nearby_access_point_info(setting, ScanCompletion::on, &none, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(none.wait());
    EXPECT_EQ(none.error, std::nullopt);
    EXPECT_TRUE(none.listGiven);
    EXPECT_TRUE(none.descriptions.empty());

    EXPECT_EQ(run(prelix10_wlan_setting_init_setting), std::nullopt);
    EXPECT_EQ(module->state().mode, '0');
    close();
}

TEST_F(WLanSettingFaceTest, OperationsOfAClosedSettingFailWithNotOpenedAndSendNothing) {
    const auto initError = run(prelix10_wlan_setting_init_setting);
    ASSERT_TRUE(initError);
    EXPECT_EQ(initError->code, PRELIX10_ERROR_INVALID_OPERATION);
    EXPECT_EQ(initError->message, "Not opened.");

    ASSERT_EQ(open(), std::nullopt);
    close();
    InfoCompletion info;
    ASSERT_EQ(prelix10_wlan_setting_load_current_info(setting, InfoCompletion::on, &info, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(info.wait());
    EXPECT_FALSE(info.info);
    ASSERT_TRUE(info.error);
    EXPECT_EQ(info.error->message, "Not opened.");
    ScanCompletion scan;
    ASSERT_EQ(
        prelix10_wlan_setting_fetch_nearby_access_point_info(setting, ScanCompletion::on, &scan, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(scan.wait());
    EXPECT_FALSE(scan.listGiven);
    ASSERT_TRUE(scan.error);
    EXPECT_EQ(scan.error->message, "Not opened.");
    EXPECT_TRUE(module->requests().empty());
}

TEST_F(WLanSettingFaceTest, ACompletionStartsTheNextOperationAndTheLastOneClosesAndReleasesEverything) {
    ASSERT_EQ(open(), std::nullopt);
    Completion closed;
    ScanCompletion scan;
    scan.then = [&] {
        EXPECT_EQ(prelix10_setting_device_close(device, Completion::onVoid, &closed, nullptr), PRELIX10_OK);
        prelix10_setting_device_release(device);
        prelix10_wlan_setting_release(setting);
        device = nullptr;
        setting = nullptr;
    };
    InfoCompletion info;
    info.then = [&] {
        EXPECT_EQ(
            prelix10_wlan_setting_fetch_nearby_access_point_info(setting, ScanCompletion::on, &scan, nullptr),
            PRELIX10_OK);
    };
    ASSERT_EQ(prelix10_wlan_setting_load_current_info(setting, InfoCompletion::on, &info, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(info.wait());
    ASSERT_TRUE(scan.wait());
    ASSERT_TRUE(closed.wait());
    EXPECT_EQ(scan.descriptions.size(), 1u);
    for (int i = 0; i < 200 && OrvoDeviceManager::registeredCount() != registeredBefore; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
}

TEST(WLanValueTypesFace, EnumerationsTheirBytesAndDescriptions) {
    EXPECT_STREQ(prelix10_wlan_mode_description(PRELIX10_WLAN_MODE_UNKNOWN), "unknown");
    EXPECT_STREQ(prelix10_wlan_mode_description(PRELIX10_WLAN_MODE_INFRASTRUCTURE), "infrastructure");
    EXPECT_STREQ(prelix10_wlan_mode_description(PRELIX10_WLAN_MODE_ACCESS_POINT), "accessPoint");
    EXPECT_EQ(prelix10_wlan_mode_description(0x33), nullptr);
    EXPECT_EQ(prelix10_wlan_mode_description(0x00), nullptr);
    EXPECT_EQ(prelix10_wlan_security_type_description(6), nullptr);

    struct Case {
        int type;
        const char* description;
        const char* hexBytes;
    };
    const Case cases[] = {
        {PRELIX10_WLAN_SECURITY_TYPE_UNKNOWN, "unknown", "00"},
        {PRELIX10_WLAN_SECURITY_TYPE_OPEN, "open", "30"},
        {PRELIX10_WLAN_SECURITY_TYPE_WPA_PERSONAL, "wpaPersonal", "31"},
        {PRELIX10_WLAN_SECURITY_TYPE_WPA2_PERSONAL, "wpa2Personal", "32"},
        {PRELIX10_WLAN_SECURITY_TYPE_WPA3_SAE, "wpa3SAE", "33"},
        {PRELIX10_WLAN_SECURITY_TYPE_AUTO, "auto", "3130"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(prelix10_wlan_security_type_description(c.type), c.description);
        const uint8_t* bytes = nullptr;
        size_t size = 0;
        ASSERT_EQ(prelix10_wlan_security_type_raw_value(c.type, &bytes, &size, nullptr), PRELIX10_OK);
        EXPECT_EQ(hex(Bytes(bytes, bytes + size)), c.hexBytes) << c.description;
        int back = -1;
        ASSERT_EQ(prelix10_wlan_security_type_from_raw_value(bytes, size, &back, nullptr), PRELIX10_OK);
        EXPECT_EQ(back, c.type) << c.description;
    }
    // Sequences of no case are unknown.
    const Bytes unknowns[] = {{}, {'0', '1'}, {'4'}};
    for (const auto& raw : unknowns) {
        int type = -1;
        ASSERT_EQ(prelix10_wlan_security_type_from_raw_value(raw.empty() ? nullptr : raw.data(), raw.size(),
                                                             &type, nullptr),
                  PRELIX10_OK);
        EXPECT_EQ(type, PRELIX10_WLAN_SECURITY_TYPE_UNKNOWN) << hex(raw);
    }

    // The pass phrase stays out of descriptions: they go to logs.
    const prelix10_ap_info ap{PRELIX10_WLAN_MODE_ACCESS_POINT, "kiosk", PRELIX10_WLAN_SECURITY_TYPE_AUTO,
                              "secret"};
    char* text = nullptr;
    ASSERT_EQ(prelix10_ap_info_description(&ap, &text, nullptr), PRELIX10_OK);
    EXPECT_STREQ(text, "wlanMode : accessPoint, ssid : kiosk, securityType : auto, password : ***");
    prelix10_string_release(text);
}

}  // namespace
}  // namespace Prelix10::Testing
