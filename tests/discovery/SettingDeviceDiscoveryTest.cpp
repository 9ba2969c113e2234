#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "prelix10/discovery/BluetoothLEOrvoSettingDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/OrvoSettingDeviceDiscoveryManager.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"
#include "support/SimulatedBle.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

class RecordingSettingDelegate final : public OrvoSettingDeviceDiscoveryManagerDelegate {
public:
    std::function<void(OrvoSettingDeviceDiscoveryManager&)> onFind;

    void managerDidFind(OrvoSettingDeviceDiscoveryManager& manager, std::shared_ptr<OrvoSettingDevice> device) override {
        {
            std::lock_guard lock(mutex);
            devices.push_back(device);
        }
        if (onFind) onFind(manager);
        changed.notify_all();
    }
    void managerDidFinishDiscovery(OrvoSettingDeviceDiscoveryManager&) override {
        std::lock_guard lock(mutex);
        ++finishes;
        changed.notify_all();
    }
    bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, condition);
    }
    std::vector<std::string> identifiers() {
        std::lock_guard lock(mutex);
        std::vector<std::string> out;
        for (const auto& d : devices) out.push_back(d->connectionSettings().identifier());
        return out;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<OrvoSettingDevice>> devices;
    int finishes = 0;
};

class SettingDeviceDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ModelDetection::installBluetoothLEModelDetector();
        central = SimulatedBleCentral::make();
        central->setAdvertisingInterval(20ms);
        BleBackend::install(central);
    }
    void TearDown() override {
        for (auto& p : peripherals) p->dropLink();
        BleBackend::install(nullptr);
        CentralManagerControl::shared().centralManager();
    }
    void add(SimulatedBlePeripheralConfig config) {
        auto peripheral = SimulatedBlePeripheral::make(std::move(config));
        central->addPeripheral(peripheral);
        peripherals.push_back(peripheral);
    }

    std::shared_ptr<SimulatedBleCentral> central;
    std::vector<std::shared_ptr<SimulatedBlePeripheral>> peripherals;
};

TEST_F(SettingDeviceDiscoveryTest, ReportsOnlyDevicesWithTheSettingServiceOncePerRun) {
    // Print only in the short form and in the long form; setting only; both services.
    SimulatedBlePeripheralConfig shortForm;
    shortForm.address = "00:11:62:00:00:01";
    shortForm.manufacturerData = advertisedPrintOnly(shortForm.address, "Ginor-7 BLE");
    add(shortForm);
    SimulatedBlePeripheralConfig printLong;
    printLong.address = "00:11:62:00:00:02";
    printLong.manufacturerData = advertisedWithSetting(printLong.address, "Ginor-7 BLE", 0x01, 0x2F);
    add(printLong);
    add(settingDeviceConfig("00:11:62:00:00:03", "Ginor-7 BLE", false, 0x29));
    add(settingDeviceConfig("00:11:62:00:00:04", "Ginor-7 BLE", true));

    auto delegate = std::make_shared<RecordingSettingDelegate>();
    auto manager = OrvoSettingDeviceDiscoveryManagerFactory::create(InterfaceType::bluetoothLE);
    manager->setDelegate(delegate);
    manager->setDiscoveryTime(600);
    manager->startDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finishes == 1; }));
    EXPECT_GE(peripherals[2]->advertisementCount(), 5u);  // many advertisements, one report each
    auto found = delegate->identifiers();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"001162000003", "001162000004"}));

    std::lock_guard lock(delegate->mutex);
    for (const auto& device : delegate->devices) {
        EXPECT_FALSE(device->isOpened());
        const auto record = device->informationRecord();
        ASSERT_TRUE(record && record->bluetoothLEInformation);
        EXPECT_EQ(record->model, OrvoPrinterModel::Ginor_7);
        EXPECT_EQ(record->emulation, OrvoPrinterEmulation::kestrin);
        EXPECT_TRUE(device->connectionSettings().autoSwitchInterface());
        EXPECT_EQ(device->connectionSettings().interfaceType(), InterfaceType::bluetoothLE);
        EXPECT_EQ(device->bleRssi(), -50);
        EXPECT_TRUE(record->bluetoothLEInformation->capWLanSettingService);
    }
}

TEST_F(SettingDeviceDiscoveryTest, TheSameDeviceIsReportedAgainWhenAsked) {
    add(settingDeviceConfig("00:11:62:00:00:05", "Ginor-7 BLE"));
    auto delegate = std::make_shared<RecordingSettingDelegate>();
    auto manager = std::make_shared<BluetoothLEOrvoSettingDeviceDiscoveryManager>();
    manager->setIsEnabledFindSameDevice(true);
    manager->setDelegate(delegate);
    manager->startDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->devices.size() >= 4; }));
    manager->stopDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finishes == 1; }));
    const auto reported = delegate->identifiers();
    EXPECT_EQ(std::set<std::string>(reported.begin(), reported.end()).size(), 1u);
    EXPECT_EQ(manager->settingDeviceCache().size(), delegate->identifiers().size());

    // A new run starts with an empty cache; with repeats off the device comes once.
    manager->setIsEnabledFindSameDevice(false);
    const auto before = delegate->identifiers().size();
    manager->setDiscoveryTime(300);
    manager->startDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finishes == 2; }));
    EXPECT_EQ(delegate->identifiers().size(), before + 1);
    EXPECT_EQ(manager->settingDeviceCache().size(), 1u);
}

TEST_F(SettingDeviceDiscoveryTest, ADelegateMayStopTheDiscoveryFromAFind) {
    add(settingDeviceConfig("00:11:62:00:00:06", "Ginor-7 BLE"));
    auto delegate = std::make_shared<RecordingSettingDelegate>();
    delegate->onFind = [](OrvoSettingDeviceDiscoveryManager& m) { m.stopDiscovery(); };
    auto manager = OrvoSettingDeviceDiscoveryManagerFactory::create(InterfaceType::bluetoothLE);
    manager->setDelegate(delegate);
    manager->startDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finishes == 1; }));
    EXPECT_EQ(delegate->identifiers().size(), 1u);
}

TEST_F(SettingDeviceDiscoveryTest, FactoryCases) {
    EXPECT_TRUE(std::dynamic_pointer_cast<BluetoothLEOrvoSettingDeviceDiscoveryManager>(
        OrvoSettingDeviceDiscoveryManagerFactory::create({InterfaceType::bluetoothLE, InterfaceType::bluetoothLE})));
    struct Case {
        std::vector<InterfaceType> types;
        const char* message;
    };
    const Case cases[] = {
        {{InterfaceType::bluetoothLE, InterfaceType::lan}, "Not Supported interface."},
        {{InterfaceType::usb}, "Not Supported interface."},
        {{InterfaceType::bluetooth}, "Not Supported interface."},
        {{}, "Interface is not specified."},
    };
    for (const auto& c : cases) {
        try {
            OrvoSettingDeviceDiscoveryManagerFactory::create(c.types);
            ADD_FAILURE() << c.message;
        } catch (const Prelix10Error& error) {
            EXPECT_EQ(error.kind(), Prelix10ErrorKind::argument);
            EXPECT_EQ(error.message(), c.message);
        }
    }
}

TEST_F(SettingDeviceDiscoveryTest, UnavailableRadioFailsTheStart) {
    central->setState(BleManagerState::poweredOff);
    auto manager = OrvoSettingDeviceDiscoveryManagerFactory::create(InterfaceType::bluetoothLE);
    try {
        manager->startDiscovery();
        FAIL() << "started without a radio";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(error.message(), "Bluetooth unavailable.");
        EXPECT_EQ(static_cast<int>(error.errorCode()), 2000);
    }
}

}  // namespace
}  // namespace Prelix10::Testing
