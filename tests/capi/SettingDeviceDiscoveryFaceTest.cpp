// The setting-device discovery's C face against simulated Bluetooth LE devices.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "capi/SettingFaceCallbacks.hpp"
#include "prelix10/capi/prelix10.h"
#include "support/SimulatedWLanModule.hpp"
#include "wlan/SettingDeviceFixture.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

// The events of a discovery: the owned device handles it handed out and the number of ends.
struct DiscoveryEvents {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<prelix10_setting_device*> devices;
    int finishes = 0;
    std::function<void(prelix10_setting_device_discovery_manager* lent)> onFind;

    ~DiscoveryEvents() {
        for (auto* device : devices) prelix10_setting_device_release(device);
    }
    bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, condition);
    }
    std::size_t found() {
        std::lock_guard lock(mutex);
        return devices.size();
    }
    static prelix10_setting_device_discovery_delegate table() {
        prelix10_setting_device_discovery_delegate table{};
        table.manager_did_find = [](void* context, prelix10_setting_device_discovery_manager* manager,
                                    prelix10_setting_device* device) {
            auto* self = static_cast<DiscoveryEvents*>(context);
            {
                std::lock_guard lock(self->mutex);
                self->devices.push_back(device);
            }
            if (self->onFind) self->onFind(manager);
            self->changed.notify_all();
        };
        table.manager_did_finish_discovery = [](void* context, prelix10_setting_device_discovery_manager*) {
            auto* self = static_cast<DiscoveryEvents*>(context);
            std::lock_guard lock(self->mutex);
            ++self->finishes;
            self->changed.notify_all();
        };
        return table;
    }
};

std::string identifierOf(const prelix10_setting_device* device) {
    char* identifier = nullptr;
    EXPECT_EQ(prelix10_setting_device_connection_settings(device, nullptr, &identifier, nullptr, nullptr),
              PRELIX10_OK);
    std::string out = identifier ? identifier : "";
    prelix10_string_release(identifier);
    return out;
}

class SettingDeviceDiscoveryFaceTest : public SettingDeviceFixture {
  protected:
    void SetUp() override {
        SettingDeviceFixture::SetUp();
        const int ble = 3;
        ASSERT_EQ(prelix10_setting_device_discovery_manager_create(&ble, 1, &manager, nullptr), PRELIX10_OK);
    }
    void TearDown() override {
        prelix10_setting_device_discovery_manager_release(manager);
        SettingDeviceFixture::TearDown();
    }
    prelix10_setting_device_discovery_manager* manager = nullptr;
};

TEST_F(SettingDeviceDiscoveryFaceTest, AFoundDeviceIsAnOwnedHandleThatSetsUpItsWirelessLan) {
    auto module = std::make_shared<SimulatedWLanModule>();
    addSettingDevice(settingDeviceConfig("00:11:62:00:00:03", kModel, false, 0x2B), module->handler());
    // A device that only prints is passed over.
    SimulatedBlePeripheralConfig printOnly;
    printOnly.address = "00:11:62:00:00:01";
    printOnly.manufacturerData = advertisedPrintOnly(printOnly.address, kModel);
    addSettingDevice(printOnly);

    DiscoveryEvents events;
    events.onFind = [](prelix10_setting_device_discovery_manager* lent) {
        // The lent manager answers like the app's own, and its release does nothing.
        int64_t time = 0;
        EXPECT_EQ(prelix10_setting_device_discovery_manager_discovery_time(lent, &time, nullptr),
                  PRELIX10_OK);
        EXPECT_EQ(time, 600);
        prelix10_setting_device_discovery_manager_release(lent);
    };
    const auto table = DiscoveryEvents::table();
    ASSERT_EQ(prelix10_setting_device_discovery_manager_set_delegate(manager, &table, &events, nullptr),
              PRELIX10_OK);
    ASSERT_EQ(prelix10_setting_device_discovery_manager_set_discovery_time(manager, 600, nullptr),
              PRELIX10_OK);
    ASSERT_EQ(prelix10_setting_device_discovery_manager_start_discovery(manager, nullptr), PRELIX10_OK);
    ASSERT_TRUE(events.waitFor([&] { return events.finishes == 1; }));

    ASSERT_EQ(events.found(), 1u);
    auto* found = events.devices.front();
    EXPECT_EQ(identifierOf(found), "001162000003");
    int rssi = 0, opened = 1;
    ASSERT_EQ(prelix10_setting_device_ble_rssi(found, &rssi, nullptr), PRELIX10_OK);
    EXPECT_EQ(rssi, -50);
    ASSERT_EQ(prelix10_setting_device_is_opened(found, &opened, nullptr), PRELIX10_OK);
    EXPECT_EQ(opened, 0);

    prelix10_wlan_setting* wlan = nullptr;
    ASSERT_EQ(prelix10_wlan_setting_create_from_setting_device(found, &wlan, nullptr), PRELIX10_OK);
    int has = 0;
    prelix10_wlan_setting_service_status status{};
    ASSERT_EQ(prelix10_wlan_setting_get_service_status(wlan, &has, &status, nullptr), PRELIX10_OK);
    ASSERT_EQ(has, 1);
    EXPECT_EQ(status.is_infrastructure_mode, 1);
    EXPECT_EQ(status.is_connected_wired_lan, 0);
    EXPECT_EQ(status.is_wlan_disabled, 1);
    EXPECT_EQ(status.is_ap_connection_succeeded, 1);

    prelix10_setting_device* device = nullptr;
    ASSERT_EQ(prelix10_wlan_setting_setting_device(wlan, &device, nullptr), PRELIX10_OK);
    Completion open;
    ASSERT_EQ(prelix10_setting_device_open(device, Completion::onError, &open, nullptr), PRELIX10_OK);
    ASSERT_TRUE(open.wait());
    ASSERT_EQ(open.error, std::nullopt);
    Completion init;
    ASSERT_EQ(prelix10_wlan_setting_init_setting(wlan, Completion::onError, &init, nullptr), PRELIX10_OK);
    ASSERT_TRUE(init.wait());
    EXPECT_EQ(init.error, std::nullopt);
    EXPECT_EQ(module->requests(), (std::vector<std::string>{"ATWPROF=0", "ATWSET=1"}));
    // The device discovery handed out was not the one opened.
    ASSERT_EQ(prelix10_setting_device_is_opened(found, &opened, nullptr), PRELIX10_OK);
    EXPECT_EQ(opened, 0);
    Completion close;
    ASSERT_EQ(prelix10_setting_device_close(device, Completion::onVoid, &close, nullptr), PRELIX10_OK);
    ASSERT_TRUE(close.wait());
    prelix10_setting_device_release(device);
    prelix10_wlan_setting_release(wlan);
}

TEST_F(SettingDeviceDiscoveryFaceTest, AFindMayClearTheEventsAndReleaseTheManager) {
    addSettingDevice(settingDeviceConfig("00:11:62:00:00:05", kModel));
    ASSERT_EQ(prelix10_setting_device_discovery_manager_set_is_enabled_find_same_device(manager, 1, nullptr),
              PRELIX10_OK);
    int same = 0;
    ASSERT_EQ(prelix10_setting_device_discovery_manager_is_enabled_find_same_device(manager, &same, nullptr),
              PRELIX10_OK);
    EXPECT_EQ(same, 1);
    DiscoveryEvents events;
    events.onFind = [&](prelix10_setting_device_discovery_manager* lent) {
        EXPECT_EQ(prelix10_setting_device_discovery_manager_set_delegate(lent, nullptr, nullptr, nullptr),
                  PRELIX10_OK);
        // The app's last hold: the run stops once this event has returned.
        prelix10_setting_device_discovery_manager_release(manager);
        manager = nullptr;
    };
    const auto table = DiscoveryEvents::table();
    ASSERT_EQ(prelix10_setting_device_discovery_manager_set_delegate(manager, &table, &events, nullptr),
              PRELIX10_OK);
    ASSERT_EQ(prelix10_setting_device_discovery_manager_start_discovery(manager, nullptr), PRELIX10_OK);
    ASSERT_TRUE(events.waitFor([&] { return !events.devices.empty(); }));
    // Repeats are on and the device keeps advertising, but nobody hears it any more.
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(events.found(), 1u);
    std::lock_guard lock(events.mutex);
    EXPECT_EQ(events.finishes, 0);
}

TEST_F(SettingDeviceDiscoveryFaceTest, TheFactoryAndTheStartFailAsRecords) {
    struct Case {
        std::vector<int> types;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{3, 4}, PRELIX10_ERROR_ARGUMENT, "Not Supported interface."},
        {{1}, PRELIX10_ERROR_ARGUMENT, "Not Supported interface."},
        {{}, PRELIX10_ERROR_ARGUMENT, "Interface is not specified."},
    };
    for (const auto& c : cases) {
        prelix10_setting_device_discovery_manager* made = nullptr;
        prelix10_error* error = nullptr;
        EXPECT_EQ(
            prelix10_setting_device_discovery_manager_create(c.types.data(), c.types.size(), &made, &error),
            PRELIX10_FAILED);
        EXPECT_EQ(made, nullptr);
        const auto copied = takeError(error);
        ASSERT_TRUE(copied) << c.message;
        EXPECT_EQ(copied->code, c.code);
        EXPECT_EQ(copied->message, c.message);
    }
    const int twice[] = {3, 3};
    prelix10_setting_device_discovery_manager* plain = nullptr;
    ASSERT_EQ(prelix10_setting_device_discovery_manager_create(twice, 2, &plain, nullptr), PRELIX10_OK);
    int64_t time = 0;
    ASSERT_EQ(prelix10_setting_device_discovery_manager_discovery_time(plain, &time, nullptr), PRELIX10_OK);
    EXPECT_EQ(time, -1);
    prelix10_setting_device_discovery_manager_release(plain);

    central->setState(BleManagerState::poweredOff);
    prelix10_error* error = nullptr;
    EXPECT_EQ(prelix10_setting_device_discovery_manager_start_discovery(manager, &error), PRELIX10_FAILED);
    const auto copied = takeError(error);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->code, PRELIX10_ERROR_ILLEGAL_DEVICE_STATE);
    EXPECT_EQ(copied->message, "Bluetooth unavailable.");
    EXPECT_EQ(copied->detailCode, 2000);
}

}  // namespace
}  // namespace Prelix10::Testing
