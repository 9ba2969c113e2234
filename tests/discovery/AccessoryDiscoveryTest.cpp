#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <unistd.h>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/discovery/BluetoothOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/USBOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "transport/AccessoryFixture.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

class Recorder : public OrvoDeviceDiscoveryManagerDelegate {
public:
    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter> printer) override {
        std::lock_guard guard(mutex);
        printers.push_back(std::move(printer));
        changed.notify_all();
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager&) override {
        std::lock_guard guard(mutex);
        ++finishes;
        changed.notify_all();
    }
    bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, condition);
    }
    std::vector<std::string> identifiers() {
        std::lock_guard guard(mutex);
        std::vector<std::string> out;
        for (const auto& p : printers) out.push_back(p->connectionSettings().identifier());
        return out;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<OrvoPrinter>> printers;
    int finishes = 0;
};

SimulatedAccessoryConfig accessory(std::string name, std::string model, std::string serial,
                                   std::optional<int> code = std::nullopt) {
    SimulatedAccessoryConfig config;
    config.name = std::move(name);
    config.modelNumber = std::move(model);
    config.serialNumber = std::move(serial);
    config.connectedInterface = code;
    return config;
}

// Model numbers of the table: one that attaches only by Bluetooth, one only by USB, two either way (the
// second switches interfaces and falls back to nothing, the first falls back to Bluetooth).
constexpr const char* kBluetoothOnly = "Harlo586KKKJK-1";
constexpr const char* kUsbOnly = "Harlo586KKKH-1";
constexpr const char* kEitherWay = "Telva71-1";
constexpr const char* kEitherWayFallsBackToBluetooth = "Rovan10-1";

class AccessoryDiscovery : public AccessoryFixture {
protected:
    void SetUp() override {
        AccessoryFixture::SetUp();
        EAAccessoryOrvoDeviceDiscoveryManager::clearIdentificationCache();
    }
    // One pass of a manager over what is connected now; the identifiers it reported.
    std::vector<std::string> onePass(const std::shared_ptr<EAAccessoryOrvoDeviceDiscoveryManager>& manager) {
        auto recorder = std::make_shared<Recorder>();
        manager->setDelegate(recorder);
        manager->setListConnectedAccessoriesOneTime(true);
        manager->startDiscovery();
        EXPECT_TRUE(recorder->waitFor([&] { return recorder->finishes == 1; }));
        // The end is reported just before the run lets go of the manager.
        EXPECT_TRUE(eventually([&] { return !manager->isOperating(); }));
        manager->setListConnectedAccessoriesOneTime(false);
        return recorder->identifiers();
    }
    std::shared_ptr<BluetoothOrvoDeviceDiscoveryManager> bluetooth = std::make_shared<BluetoothOrvoDeviceDiscoveryManager>();
    std::shared_ptr<USBOrvoDeviceDiscoveryManager> usb = std::make_shared<USBOrvoDeviceDiscoveryManager>();
};

}  // namespace

TEST_F(AccessoryDiscovery, KeepsTheMakersPrinterAccessoriesNamedBySerialNumberOrName) {
    auto named = accessory("Named-1", kBluetoothOnly, "");
    named.manufacturer = "oRvO";  // letter case does not matter
    addPrinter(named);
    addPrinter(accessory("Serial-1", kBluetoothOnly, "SER-0001"));
    auto stranger = accessory("Other", kBluetoothOnly, "X1");
    stranger.manufacturer = "Someone";
    addPrinter(stranger);
    auto mute = accessory("Mute", kBluetoothOnly, "X2");
    mute.protocolStrings = std::vector<std::string>{"com.orvo.other"};
    addPrinter(mute);

    EXPECT_EQ(EAAccessoryOrvoDeviceDiscoveryManager::listConnectedAccessories().size(), 2u);
    auto found = onePass(bluetooth);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Named-1", "SER-0001"}));
    auto recorder = std::make_shared<Recorder>();
    bluetooth->setDelegate(recorder);
    bluetooth->startDiscovery();
    ASSERT_TRUE(recorder->waitFor([&] { return recorder->printers.size() == 2; }));
    const auto printer = recorder->printers.front();
    bluetooth->stopDiscovery();
    EXPECT_EQ(printer->connectionSettings().interfaceType(), InterfaceType::bluetooth);
    EXPECT_TRUE(printer->connectionSettings().autoSwitchInterface());
    EXPECT_EQ(printer->informationRecord()->model, OrvoPrinterModel::harlo599KKKJK);
    EXPECT_FALSE(printer->isOpened());
}

TEST_F(AccessoryDiscovery, AModelOfOneInterfaceIsReportedByItsManagerWithoutBeingOpened) {
    auto usbOnly = addPrinter(accessory("U", kUsbOnly, "U-1"));
    auto unknown = addPrinter(accessory("Q", "NoSuchModel", "Q-1"));
    EXPECT_EQ(onePass(usb), std::vector<std::string>{"U-1"});
    EXPECT_EQ(onePass(bluetooth), std::vector<std::string>{"Q-1"});  // an unknown model counts as Bluetooth
    EXPECT_EQ(usbOnly->sessionRequests(), 0u);
    EXPECT_EQ(unknown->sessionRequests(), 0u);
}

TEST_F(AccessoryDiscovery, AModelOfBothInterfacesIsOpenedOnceAndItsStatusTellsTheLink) {
    struct Case {
        const char* model;
        int code;
        bool bluetooth, usb;
        std::size_t statusRequests;
    } cases[] = {
        {kEitherWay, 18, true, false, 1},
        {kEitherWay, 5, false, true, 1},
        {kEitherWay, 2, true, false, 1},
        {kEitherWay, 26, false, false, 2},                    // LAN: the fallback, none, is no answer to keep
        {kEitherWayFallsBackToBluetooth, 26, true, false, 1},  // LAN: the fallback Bluetooth
    };
    for (const auto& c : cases) {
        EAAccessoryOrvoDeviceDiscoveryManager::clearIdentificationCache();
        auto behind = std::make_shared<VirtualPrinterEngine>(engine->config());
        auto device = addPrinter(accessory("Both", c.model, "B-1", c.code), behind);
        EXPECT_EQ(onePass(bluetooth).size(), c.bluetooth ? 1u : 0u) << c.model << " " << c.code;
        EXPECT_EQ(onePass(usb).size(), c.usb ? 1u : 0u) << c.model << " " << c.code;
        // A type found is kept for the connection: the second manager does not ask again.
        EXPECT_EQ(behind->statusRequestCount(), c.statusRequests) << c.model << " " << c.code;
        EXPECT_EQ(device->openSessions(), 0u);
        manager->removeAccessory(device);
    }
}

TEST_F(AccessoryDiscovery, APrinterThatSwitchesInterfacesCarriesTheIdentifiersItReports) {
    engine->configure([](VirtualPrinterConfig& c) {
        c.informationText = "BtAdS=00:11:62:0B:0C:0D,LaNmA=00:11:62:AA:BB:CC,UsSrN=USB123,PrSrN=P1";
    });
    auto device = addPrinter(accessory("Both", kEitherWay, "B-1", 18));
    auto recorder = std::make_shared<Recorder>();
    bluetooth->setDelegate(recorder);
    bluetooth->setListConnectedAccessoriesOneTime(true);
    bluetooth->startDiscovery();
    ASSERT_TRUE(recorder->waitFor([&] { return recorder->finishes == 1 && recorder->printers.size() == 1; }));
    const auto ids = recorder->printers.front()->informationRecord()->connectionIdentifier;
    EXPECT_EQ(ids.bluetoothAddress, "0011620B0C0D");
    EXPECT_EQ(ids.usbSerialNumber, "USB123");
    EXPECT_EQ(ids.bluetoothLeAddress, OrvoConnectionIdentifier::UNAVAILABLE());
    // Found by the identifiers the printer reported.
    EXPECT_EQ(bluetooth->findDevice("USB123", 2000)->connectionSettings().identifier(), "B-1");
    EXPECT_EQ(device->sessionsGiven(), 1u);  // type and identifiers both came from the one session
}

TEST(AccessoryInterfaceCode, MapsToAnInterfaceType) {
    const std::pair<std::optional<std::int64_t>, InterfaceType> table[] = {
        {std::nullopt, InterfaceType::unknown}, {2, InterfaceType::bluetooth}, {3, InterfaceType::bluetoothLE},
        {0, InterfaceType::usb},          {15, InterfaceType::usb},         {16, InterfaceType::bluetooth},
        {19, InterfaceType::bluetooth},   {20, InterfaceType::bluetoothLE}, {23, InterfaceType::bluetoothLE},
        {24, InterfaceType::lan},         {31, InterfaceType::lan},         {32, InterfaceType::unknown},
        {-1, InterfaceType::unknown},
    };
    for (const auto& [code, type] : table) {
        EXPECT_EQ(EAAccessoryOrvoDeviceDiscoveryManager::interfaceTypeOfConnectedInterface(code), type)
            << (code ? std::to_string(*code) : "absent");
    }
}

TEST_F(AccessoryDiscovery, LooksAccessoriesUpByIdentifierWithinTheTimeout) {
    addPrinter(accessory("Wexal-1", kBluetoothOnly, "001162AABBCC"));
    addPrinter(accessory("Wexal-2", kBluetoothOnly, "S-2"));
    EXPECT_EQ(bluetooth->findDevice("00:11:62:aa:bb:cc", 2000)->connectionSettings().identifier(), "001162AABBCC");
    EXPECT_EQ(bluetooth->findDevice("Wexal-2", 2000)->connectionSettings().identifier(), "S-2");
    EXPECT_TRUE(bluetooth->findDevice(OrvoConnectionSettings::FIRST_FOUND_DEVICE(), 2000));
    std::optional<Prelix10Error> error;
    const auto took = durationOf([&] { error = errorRaisedBy([&] { usb->findDevice("Wexal-2", 300); }); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::notFound);
    EXPECT_EQ(error->message(), "Device not found.");
    EXPECT_GE(took, 290ms);
    EXPECT_LT(took, 2000ms);
}

TEST_F(AccessoryDiscovery, ALookupAnswersOnceWhenTwoAccessoriesMatchAtTheSameMoment) {
    for (int i = 0; i < 8; ++i) {
        addPrinter(accessory("Twin-" + std::to_string(i), kBluetoothOnly, "T-" + std::to_string(i)));
    }
    for (int round = 0; round < 20; ++round) {
        auto calls = std::make_shared<std::atomic<int>>(0);
        bluetooth->findDevice(OrvoConnectionSettings::FIRST_FOUND_DEVICE(), 300,
                              [calls](std::shared_ptr<OrvoPrinter>, std::optional<Prelix10Error>) { ++*calls; });
        ASSERT_TRUE(eventually([&] { return calls->load() > 0; }));
        std::this_thread::sleep_for(30ms);  // past the run's end and every identification
        EXPECT_EQ(calls->load(), 1) << round;
    }
}

TEST_F(AccessoryDiscovery, APassEndsEvenWhenAnIdentificationFails) {
    auto refusing = addPrinter(accessory("Both", kEitherWay, "B-1", 18));
    SimulatedAccessoryFaults faults;
    faults.missingInputStream = true;
    refusing->setFaults(faults);
    addPrinter(accessory("Ok", kBluetoothOnly, "OK-1"));
    EXPECT_EQ(onePass(bluetooth), std::vector<std::string>{"OK-1"});
    EXPECT_GT(refusing->sessionRequests(), 0u);
    // Not cached: once the accessory lets itself be opened, the next pass identifies it.
    refusing->setFaults({});
    EXPECT_EQ(onePass(bluetooth).size(), 2u);
}

TEST_F(AccessoryDiscovery, AnAccessoryThatReconnectsIsAStillDuplicateWhenItHasASerialNumber) {
    auto withSerial = addPrinter(accessory("WithSerial", kBluetoothOnly, "SER-1"));
    auto withoutSerial = addPrinter(accessory("NoSerial", kBluetoothOnly, ""));
    auto recorder = std::make_shared<Recorder>();
    bluetooth->setDelegate(recorder);
    bluetooth->startDiscovery();
    ASSERT_TRUE(recorder->waitFor([&] { return recorder->printers.size() == 2; }));
    manager->reconnectAccessory(withSerial);
    manager->reconnectAccessory(withoutSerial);
    ASSERT_TRUE(recorder->waitFor([&] { return recorder->printers.size() == 3; }));
    std::this_thread::sleep_for(200ms);
    bluetooth->stopDiscovery();
    ASSERT_TRUE(recorder->waitFor([&] { return recorder->finishes == 1; }));
    auto ids = recorder->identifiers();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"NoSerial", "NoSerial", "SER-1"}));
}

TEST_F(AccessoryDiscovery, TheApplicationsOpenConnectionDelaysIdentificationAndIsNotDisturbed) {
    engine->configure([](VirtualPrinterConfig& c) { c.informationText = "BtAdS=00:11:62:0B:0C:0D,UsSrN=USB123"; });
    auto device = addPrinter(accessory("Both", kEitherWay, "B-1", 18));
    auto held = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::bluetooth, "B-1", false));
    ASSERT_NO_THROW(held->open().get());
    // The open left what it learnt in the identification cache; forget it, so the discovery has to ask.
    EAAccessoryOrvoDeviceDiscoveryManager::clearIdentificationCache();
    const auto sessions = device->sessionsGiven();

    auto recorder = std::make_shared<Recorder>();
    bluetooth->setDelegate(recorder);
    bluetooth->startDiscovery();
    EXPECT_FALSE(recorder->waitFor([&] { return !recorder->printers.empty(); }, 400ms));
    EXPECT_EQ(device->sessionsGiven(), sessions);  // not opened beside the application
    EXPECT_NO_THROW(held->getStatus().get());
    held->close().get();
    EXPECT_TRUE(recorder->waitFor([&] { return recorder->printers.size() == 1; }));
    bluetooth->stopDiscovery();
    EXPECT_TRUE(recorder->waitFor([&] { return recorder->finishes == 1; }));
}

TEST_F(AccessoryDiscovery, DroppingTheManagerStopsItsRun) {
    auto dropped = std::make_shared<BluetoothOrvoDeviceDiscoveryManager>();
    auto recorder = std::make_shared<Recorder>();
    dropped->setDelegate(recorder);
    dropped->startDiscovery();  // no time limit
    std::this_thread::sleep_for(50ms);
    dropped.reset();
    std::this_thread::sleep_for(50ms);
    // A new accessory that would have to be opened to be identified is never touched.
    auto late = addPrinter(accessory("Late", kEitherWay, "L-1", 18));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(late->sessionRequests(), 0u);
}

TEST_F(AccessoryDiscovery, ProcessExitsWhileADiscoveryRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // An identification that stalls: the device takes the session but never answers its status.
            auto silent = SimulatedAccessory::make(accessory("Both", kEitherWay, "B-1"));
            manager->addAccessory(silent);
            static std::shared_ptr<BluetoothOrvoDeviceDiscoveryManager> held;
            held = std::make_shared<BluetoothOrvoDeviceDiscoveryManager>();
            held->startDiscovery();
            if (!eventually([&] { return silent->sessionsGiven() > 0; })) std::_Exit(3);
            ::alarm(3);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(AccessoryDiscovery, TheFactoryMakesTheAccessoryManagersAndTheCompositeJoinsThemWithLan) {
    VirtualPrinterDiscovery responder(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}});
    LoopbackLan lan(9, 9, responder.port());
    EXPECT_TRUE(std::dynamic_pointer_cast<USBOrvoDeviceDiscoveryManager>(
        OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::usb)));
    EXPECT_TRUE(std::dynamic_pointer_cast<BluetoothOrvoDeviceDiscoveryManager>(
        OrvoDeviceDiscoveryManagerFactory::create(std::vector<int>{2, 2})));
    auto composite = std::dynamic_pointer_cast<MultipleOrvoDeviceDiscoveryManager>(
        OrvoDeviceDiscoveryManagerFactory::create(std::vector<InterfaceType>{
            InterfaceType::bluetooth, InterfaceType::usb, InterfaceType::bluetooth, InterfaceType::lan}));
    ASSERT_TRUE(composite);
    ASSERT_EQ(composite->managers().size(), 3u);
    EXPECT_TRUE(std::dynamic_pointer_cast<BluetoothOrvoDeviceDiscoveryManager>(composite->managers()[0]));
    EXPECT_TRUE(std::dynamic_pointer_cast<USBOrvoDeviceDiscoveryManager>(composite->managers()[1]));
    EXPECT_TRUE(std::dynamic_pointer_cast<LANOrvoDeviceDiscoveryManager>(composite->managers()[2]));

    addPrinter(accessory("B", kBluetoothOnly, "B-1"));
    addPrinter(accessory("U", kUsbOnly, "U-1"));
    auto recorder = std::make_shared<Recorder>();
    composite->setDelegate(recorder);
    composite->setDiscoveryTime(1200);
    composite->startDiscovery();
    ASSERT_TRUE(recorder->waitFor([&] { return recorder->finishes == 1; }));
    auto ids = recorder->identifiers();
    std::sort(ids.begin(), ids.end());
    ASSERT_EQ(ids.size(), 3u);  // each printer once, though the LAN printer answers every half second
    EXPECT_EQ(ids[0], "001162AABBCC");
    EXPECT_EQ(ids[1], "B-1");
    EXPECT_EQ(ids[2], "U-1");
}
