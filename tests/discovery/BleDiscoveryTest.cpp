#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/discovery/BluetoothLEDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"
#include "support/SimulatedBle.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kAddress = "00:11:62:AA:BB:CC";

// Finds and ends as a delegate sees them; the action runs inside each find.
class RecordingDelegate final : public OrvoDeviceDiscoveryManagerDelegate {
public:
    std::function<void(OrvoDeviceDiscoveryManager&, const std::shared_ptr<OrvoPrinter>&)> onFind;

    void managerDidFindPrinter(OrvoDeviceDiscoveryManager& manager, std::shared_ptr<OrvoPrinter> printer) override {
        {
            std::lock_guard lock(mutex);
            printers.push_back(printer);
        }
        if (onFind) onFind(manager, printer);
        std::lock_guard lock(mutex);
        ++findsDone;
        changed.notify_all();
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager&) override {
        std::lock_guard lock(mutex);
        ++finishes;
        changed.notify_all();
    }
    bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, condition);
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<OrvoPrinter>> printers;
    int findsDone = 0;
    int finishes = 0;
};

class BleDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        VirtualPrinterConfig config;
        config.replyFraming = ReplyFraming::plain;
        engine = std::make_shared<VirtualPrinterEngine>(config);
        central = SimulatedBleCentral::make();
        central->setAdvertisingInterval(100ms);
        BleBackend::install(central);
    }
    void TearDown() override {
        for (auto& p : peripherals) p->dropLink();
        BleBackend::install(nullptr);
        CentralManagerControl::shared().centralManager();
    }

    std::shared_ptr<SimulatedBlePeripheral> addDevice(std::optional<BleBytes> data, std::string address = kAddress,
                                                      std::string name = "Ginor-7 BLE") {
        SimulatedBlePeripheralConfig config;
        config.address = address;
        config.name = name;
        config.localName = name;
        config.manufacturerData = std::move(data);
        auto peripheral = SimulatedBlePeripheral::make(config, engine);
        central->addPeripheral(peripheral);
        peripherals.push_back(peripheral);
        return peripheral;
    }
    std::shared_ptr<SimulatedBlePeripheral> addPrinter(std::string address = kAddress) {
        return addDevice(advertisedPrintOnly(address, "Ginor-7 BLE"), address);
    }

    std::shared_ptr<BluetoothLEOrvoDeviceDiscoveryManager> startManager(const std::shared_ptr<RecordingDelegate>& d) {
        auto manager = std::make_shared<BluetoothLEOrvoDeviceDiscoveryManager>();
        manager->setDelegate(d);
        manager->startDiscovery();
        return manager;
    }

    std::shared_ptr<VirtualPrinterEngine> engine;
    std::shared_ptr<SimulatedBleCentral> central;
    std::vector<std::shared_ptr<SimulatedBlePeripheral>> peripherals;
};

TEST_F(BleDiscoveryTest, UnavailableRadioFailsTheStart) {
    central->setState(BleManagerState::poweredOff);
    auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::bluetoothLE);
    ASSERT_TRUE(std::dynamic_pointer_cast<BluetoothLEOrvoDeviceDiscoveryManager>(manager));
    try {
        manager->startDiscovery();
        FAIL() << "started without a radio";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(error.message(), "Bluetooth unavailable.");
        EXPECT_EQ(static_cast<int>(error.errorCode()), 2000);
    }
}

TEST_F(BleDiscoveryTest, ReportsPrintersOfBothFormsOnceAndPassesOthersOver) {
    addPrinter("00:11:62:00:00:01");
    addDevice(advertisedWithSetting("00:11:62:00:00:02", "Ginor-7 BLE", 0x03, 0x25), "00:11:62:00:00:02");
    addDevice(advertisedWithSetting("00:11:62:00:00:03", "Ginor-7 BLE", 0x02, 0x2B), "00:11:62:00:00:03");  // setting only
    addDevice(std::nullopt, "00:11:62:00:00:04");                                                             // no data
    auto foreign = advertisedPrintOnly("00:11:62:00:00:05", "Ginor-7 BLE");
    foreign[0] = 0x4C;
    addDevice(foreign, "00:11:62:00:00:05");

    auto delegate = std::make_shared<RecordingDelegate>();
    auto manager = startManager(delegate);
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->printers.size() >= 2; }));
    std::this_thread::sleep_for(350ms);  // several more advertisements of each
    manager->stopDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finishes == 1; }));

    std::vector<std::string> ids;
    for (const auto& p : delegate->printers) ids.push_back(p->connectionSettings().identifier());
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"001162000001", "001162000002"}));
    for (const auto& p : delegate->printers) {
        EXPECT_EQ(p->connectionSettings().interfaceType(), InterfaceType::bluetoothLE);
        const auto record = p->informationRecord();
        ASSERT_TRUE(record && record->bluetoothLEInformation);
        EXPECT_EQ(record->model, OrvoPrinterModel::Ginor_7);
        EXPECT_EQ(record->emulation, OrvoPrinterEmulation::kestrin);
    }
}

TEST_F(BleDiscoveryTest, RecordCarriesRssiAndSettingStatus) {
    auto device = addDevice(advertisedWithSetting(kAddress, "Ginor-7 BLE", 0x03, 0x2B));
    device->setRssi(-71);
    BluetoothLEDeviceDiscoveryManager scanner;
    auto found = scanner.findDevice(OrvoConnectionSettings::FIRST_FOUND_DEVICE(), 3000);
    EXPECT_EQ(found->rssi, -71);
    EXPECT_EQ(found->deviceName, "Ginor-7 BLE");
    EXPECT_EQ(found->modelName, "Ginor-7 BLE");
    EXPECT_TRUE(found->capPrintService);
    EXPECT_TRUE(found->capWLanSettingService);
    EXPECT_EQ(found->wLanSettingServiceStatus, WLanSettingServiceStatus(true, false, true, true));
}

TEST_F(BleDiscoveryTest, LookupTakesLowerCaseAddressWithColons) {
    addPrinter("00:11:62:00:00:01");
    addPrinter(kAddress);
    BluetoothLEDeviceDiscoveryManager scanner;
    auto found = scanner.findDevice("00:11:62:aa:bb:cc", 3000);
    EXPECT_EQ(found->address, "001162AABBCC");
    EXPECT_EQ(found->peripheral->identifier(), kAddress);

    try {
        scanner.findDevice("00-11-62-00-00-09", 250);
        FAIL() << "found a device that does not advertise";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::notFound);
        EXPECT_EQ(error.message(), "Device not found.");
    }
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 0u);
}

TEST_F(BleDiscoveryTest, JoiningScanHearsDevicesAlreadySeen) {
    addPrinter();
    central->setAdvertisingInterval(10s);  // after the first round nothing advertises again during the test
    BluetoothLEDeviceDiscoveryManager first;
    std::promise<void> firstSaw;
    std::atomic<bool> once{false};
    first.scan(std::make_shared<CancellationToken>(), [&](const auto&) { if (!once.exchange(true)) firstSaw.set_value(); },
               nullptr);
    ASSERT_EQ(firstSaw.get_future().wait_for(3s), std::future_status::ready);

    BluetoothLEDeviceDiscoveryManager second;
    const auto started = std::chrono::steady_clock::now();
    auto found = second.findDevice("001162aabbcc", 3000);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(found->address, "001162AABBCC");
    EXPECT_EQ(central->scanStarts(), 1u);
}

TEST_F(BleDiscoveryTest, TwoManagersShareOneScanThatStopsAfterBoth) {
    addPrinter();
    auto d1 = std::make_shared<RecordingDelegate>();
    auto d2 = std::make_shared<RecordingDelegate>();
    auto m1 = startManager(d1);
    auto m2 = startManager(d2);
    ASSERT_TRUE(d1->waitFor([&] { return d1->printers.size() == 1; }));
    ASSERT_TRUE(d2->waitFor([&] { return d2->printers.size() == 1; }));
    EXPECT_EQ(central->scanStarts(), 1u);
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 2u);

    m1->stopDiscovery();
    ASSERT_TRUE(d1->waitFor([&] { return d1->finishes == 1; }));
    EXPECT_TRUE(central->isScanning());
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 1u);

    m2->stopDiscovery();
    ASSERT_TRUE(d2->waitFor([&] { return d2->finishes == 1; }));
    EXPECT_FALSE(central->isScanning());
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 0u);
}

TEST_F(BleDiscoveryTest, DroppingARunningManagerReleasesItsShareOfTheScan) {
    addPrinter();
    auto d1 = std::make_shared<RecordingDelegate>();
    auto d2 = std::make_shared<RecordingDelegate>();
    auto m1 = startManager(d1);
    auto m2 = startManager(d2);
    ASSERT_TRUE(d1->waitFor([&] { return d1->printers.size() == 1; }));
    ASSERT_TRUE(d2->waitFor([&] { return d2->printers.size() == 1; }));
    ASSERT_EQ(CentralManagerControl::shared().scannerCount(), 2u);

    const auto settles = [](auto done) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (!done() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
        return done();
    };
    m1.reset();
    EXPECT_TRUE(settles([] { return CentralManagerControl::shared().scannerCount() == 1u; }));
    EXPECT_TRUE(central->isScanning());
    m2.reset();
    EXPECT_TRUE(settles([] { return CentralManagerControl::shared().scannerCount() == 0u; }));
    EXPECT_TRUE(settles([&] { return !central->isScanning(); }));
}

TEST_F(BleDiscoveryTest, DelegateMayStopAndStartDiscoveriesFromReplayedFind) {
    addPrinter();
    central->setAdvertisingInterval(10s);  // the second manager hears the printer only through the replay
    auto d1 = std::make_shared<RecordingDelegate>();
    auto m1 = startManager(d1);
    ASSERT_TRUE(d1->waitFor([&] { return d1->printers.size() == 1; }));

    auto d2 = std::make_shared<RecordingDelegate>();
    auto other = std::make_shared<BluetoothLEOrvoDeviceDiscoveryManager>();
    d2->onFind = [&](OrvoDeviceDiscoveryManager& manager, const std::shared_ptr<OrvoPrinter>&) {
        manager.stopDiscovery();
        other->startDiscovery();
        other->stopDiscovery();
    };
    auto m2 = std::make_shared<BluetoothLEOrvoDeviceDiscoveryManager>();
    m2->setDelegate(d2);
    auto start = std::async(std::launch::async, [&] { m2->startDiscovery(); });
    ASSERT_EQ(start.wait_for(3s), std::future_status::ready);
    start.get();
    ASSERT_TRUE(d2->waitFor([&] { return d2->findsDone == 1 && d2->finishes == 1; }));
    m1->stopDiscovery();
    ASSERT_TRUE(d1->waitFor([&] { return d1->finishes == 1; }));
}

TEST_F(BleDiscoveryTest, FindAnswersExactlyOnce) {
    // Many matching devices advertising at once, replayed and live: one answer, and no late not-found.
    for (int i = 0; i < 8; ++i) addPrinter("00:11:62:00:00:1" + std::to_string(i));
    central->setAdvertisingInterval(1ms);
    BluetoothLEDeviceDiscoveryManager warm;
    warm.scan(std::make_shared<CancellationToken>(), nullptr, nullptr);
    std::this_thread::sleep_for(50ms);
    for (int round = 0; round < 5; ++round) {
        BluetoothLEDeviceDiscoveryManager scanner;
        std::atomic<int> answers{0};
        std::atomic<int> errors{0};
        std::promise<void> first;
        scanner.findDevice(OrvoConnectionSettings::FIRST_FOUND_DEVICE(), 300, [&](auto information, auto error) {
            if (error) ++errors;
            if (information && answers.fetch_add(1) == 0) first.set_value();
        });
        ASSERT_EQ(first.get_future().wait_for(3s), std::future_status::ready);
        std::this_thread::sleep_for(400ms);  // past the timeout
        EXPECT_EQ(answers.load(), 1);
        EXPECT_EQ(errors.load(), 0);
    }
}

TEST_F(BleDiscoveryTest, DroppedScannerReleasesItsShare) {
    addPrinter();
    std::atomic<int> completions{0};
    BluetoothLEDeviceDiscoveryManager staying;
    staying.scan(std::make_shared<CancellationToken>(), nullptr, nullptr);
    {
        auto dropped = std::make_unique<BluetoothLEDeviceDiscoveryManager>();
        dropped->scan(std::make_shared<CancellationToken>(), nullptr, [&] { ++completions; });
        EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 2u);
    }
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 1u);
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (completions.load() == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(completions.load(), 1);
    EXPECT_TRUE(central->isScanning());
}

TEST_F(BleDiscoveryTest, DroppingTheLastScannerStopsTheScan) {
    addPrinter();
    {
        BluetoothLEDeviceDiscoveryManager scanner;
        scanner.scan(std::make_shared<CancellationToken>(), nullptr, nullptr);
        EXPECT_TRUE(central->isScanning());
    }
    EXPECT_FALSE(central->isScanning());
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 0u);
}

TEST_F(BleDiscoveryTest, FoundPrinterOpensAndPrintsFromInsideTheFind) {
    addPrinter();
    {
        // The Bluetooth LE printer port comes with its own change; until then the print half cannot run.
        auto probe = std::make_shared<BluetoothLEPrintPort>(kAddress);
        try {
            PrinterPortFactory::create(probe, OrvoPrinterEmulation::kestrin, false);
        } catch (const Prelix10Error&) {
            GTEST_SKIP() << "no printer port for Bluetooth LE in this build";
        }
    }
    auto delegate = std::make_shared<RecordingDelegate>();
    std::promise<std::optional<Prelix10Error>> printed;
    std::atomic<bool> once{false};
    delegate->onFind = [&](OrvoDeviceDiscoveryManager& manager, const std::shared_ptr<OrvoPrinter>& printer) {
        if (once.exchange(true)) return;
        manager.stopDiscovery();
        try {
            printer->setOpenTimeout(5000);
            printer->open().get();
            const std::string text = "BLE receipt\n";
            printer->print(ByteBlock(text.begin(), text.end())).get();
            printer->close().get();
            printed.set_value(std::nullopt);
        } catch (const Prelix10Error& error) {
            printed.set_value(error);
        }
    };
    auto manager = startManager(delegate);
    auto result = printed.get_future();
    ASSERT_EQ(result.wait_for(15s), std::future_status::ready);
    const auto error = result.get();
    EXPECT_FALSE(error) << (error ? error->message() : "");
    const auto data = engine->printedData();
    EXPECT_NE(std::string(data.begin(), data.end()).find("BLE receipt"), std::string::npos);
}

}  // namespace
}  // namespace Prelix10::Testing
