// The raw-port factory and the exclusive-open registry, over the simulated accessory system, the simulated
// Bluetooth LE stack and a virtual printer on loopback.
#include <gtest/gtest.h>

#include <barrier>
#include <thread>

#include "AccessoryFixture.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/RawPortFactory.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterServer.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

class OrvoDeviceManagerTest : public AccessoryFixture {
protected:
    void TearDown() override {
        for (auto& port : opened) {
            port->close();
            OrvoDeviceManager::releasePort(port.get());
        }
        opened.clear();
        EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);
        AccessoryFixture::TearDown();
    }
    std::shared_ptr<RawPort> openExclusive(InterfaceType type, const std::string& identifier, std::int64_t timeout = 1000) {
        auto port = OrvoDeviceManager::exclusiveOpenPort(type, identifier, timeout);
        opened.push_back(port);
        return port;
    }

    std::vector<std::shared_ptr<RawPort>> opened;
};

template <typename T>
bool is(const std::shared_ptr<RawPort>& port) {
    return std::dynamic_pointer_cast<T>(port) != nullptr;
}

}  // namespace

TEST(RawPortFactoryTest, MakesThePortOfEachInterfaceAndTarget) {
    using Target = RawPortTargetType;
    struct Case {
        Target target;
        InterfaceType type;
        std::function<bool(const std::shared_ptr<RawPort>&)> made;  // none: "Not Supported interface."
    };
    const Case cases[] = {
        {Target::printer, InterfaceType::usb, is<USBPort>},
        {Target::printer, InterfaceType::bluetooth, is<BluetoothPort>},
        {Target::printer, InterfaceType::bluetoothLE, is<BluetoothLEPrintPort>},
        {Target::printer, InterfaceType::lan, is<TCPPort>},
        {Target::printer, InterfaceType::unknown, nullptr},
        {Target::printer, static_cast<InterfaceType>(5), nullptr},
        {Target::settingDevice, InterfaceType::bluetoothLE, is<BluetoothLESettingPort>},
        {Target::settingDevice, InterfaceType::usb, nullptr},
        {Target::settingDevice, InterfaceType::bluetooth, nullptr},
        {Target::settingDevice, InterfaceType::lan, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("target " + std::to_string(static_cast<int>(c.target)) + ", interface " +
                     std::to_string(static_cast<int>(c.type)));
        std::shared_ptr<RawPort> port;
        const auto error = errorRaisedBy([&] { port = RawPortFactory::create(c.type, "00:11:62:AA:BB:CC", c.target); });
        if (!c.made) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
            EXPECT_EQ(error->message(), "Not Supported interface.");
            continue;
        }
        ASSERT_FALSE(error) << error->description();
        EXPECT_TRUE(c.made(port));
        EXPECT_EQ(port->identifier(), "00:11:62:AA:BB:CC");
        EXPECT_FALSE(port->isConnected());
    }
    auto tcp = std::dynamic_pointer_cast<TCPPort>(
        RawPortFactory::create(InterfaceType::lan, "127.0.0.1", Target::printer, std::vector<std::string>{"0011620000AA"}));
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->portNumber(), 9100);
    ASSERT_TRUE(tcp->subIdentifiers());
    EXPECT_EQ(*tcp->subIdentifiers(), std::vector<std::string>{"0011620000AA"});
}

TEST_F(OrvoDeviceManagerTest, TheSameLanPrinterByAddressAndThenByMacIsInUse) {
    VirtualPrinterEngine printer;
    VirtualPrinterServer server(printer);
    VirtualPrinterDiscovery responder(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}});
    LoopbackLan lan(server.dataPort(), server.statusPort(), responder.port());
    // The LAN discovery answers the TCP ports' lookups, as it does for the printer object.
    NetworkPortSettings::setNetworkCardLookup([](const std::vector<std::string>& identifiers, std::int64_t timeout) {
        const auto found = std::make_shared<LANOrvoDeviceDiscoveryManager>()->findDevice(identifiers, timeout);
        NetworkCardRecord record;
        if (const auto information = found->informationRecord(); information && information->nicInformation) {
            record.ipAddress = information->nicInformation->ipAddress;
            record.macAddress = information->nicInformation->macAddress;
            record.name = information->nicInformation->name;
        }
        return record;
    });
    struct LookupReset {
        ~LookupReset() { NetworkPortSettings::setNetworkCardLookup(nullptr); }
    } reset;

    auto first = openExclusive(InterfaceType::lan, "127.0.0.1", 3000);
    EXPECT_TRUE(first->isConnected());
    for (const std::string id : {"00:11:62:AA:BB:CC", "001162aabbcc", "127.0.0.1"}) {
        SCOPED_TRACE(id);
        const auto error = errorRaisedBy([&] { openExclusive(InterfaceType::lan, id, 3000); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::inUse);
        EXPECT_EQ(error->message(), "The device is in use by another process.");
    }
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 1u);
    EXPECT_EQ(server.acceptedCount(PrinterChannel::data), 1u);

    // Released, the printer opens again by its MAC address.
    first->close();
    OrvoDeviceManager::releasePort(first.get());
    opened.clear();
    auto again = openExclusive(InterfaceType::lan, "00:11:62:AA:BB:CC", 3000);
    EXPECT_TRUE(again->isConnected());
}

TEST_F(OrvoDeviceManagerTest, AFailedOpenLeavesTheRegistryAsItWas) {
    auto accessory = addPrinter();
    auto other = addPrinter(usbConfig());
    openExclusive(InterfaceType::usb, "Wexal-U20");
    accessory->setFaults([] {
        SimulatedAccessoryFaults f;
        f.refuseAlways = true;
        return f;
    }());
    const auto error = errorRaisedBy([&] { openExclusive(InterfaceType::bluetooth, "Wexal-T10", 100); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Open failed.");
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 1u);

    // A failed lookup registers nothing either.
    const auto missing = errorRaisedBy([&] { openExclusive(InterfaceType::bluetooth, "Missing", 30); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->message(), "Device not found.");
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 1u);

    accessory->setFaults({});
    EXPECT_TRUE(openExclusive(InterfaceType::bluetooth, "Wexal-T10")->isConnected());
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 2u);

    // Releasing a port that is not registered changes nothing.
    BluetoothPort stranger("Wexal-T10");
    OrvoDeviceManager::releasePort(&stranger);
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 2u);
}

TEST_F(OrvoDeviceManagerTest, TwoOpensOfOneDeviceAtOnceLetExactlyOneThrough) {
    auto accessory = addPrinter();
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::barrier start(2);
        std::shared_ptr<RawPort> ports[2];
        std::optional<Prelix10Error> errors[2];
        const std::string ids[2] = {"Wexal-T10", "00:11:62:AA:BB:CC"};
        std::thread threads[2];
        for (int i = 0; i < 2; ++i) {
            threads[i] = std::thread([&, i] {
                start.arrive_and_wait();
                errors[i] = errorRaisedBy([&] { ports[i] = OrvoDeviceManager::exclusiveOpenPort(InterfaceType::bluetooth, ids[i], 1000); });
            });
        }
        for (auto& t : threads) t.join();
        const int winners = (ports[0] ? 1 : 0) + (ports[1] ? 1 : 0);
        ASSERT_EQ(winners, 1);
        const int loser = ports[0] ? 1 : 0;
        ASSERT_TRUE(errors[loser]);
        EXPECT_EQ(errors[loser]->kind(), Prelix10ErrorKind::inUse);
        EXPECT_EQ(errors[loser]->message(), "The device is in use by another process.");
        EXPECT_EQ(OrvoDeviceManager::registeredCount(), 1u);
        EXPECT_EQ(accessory->openSessions(), 1u);
        auto& winner = ports[1 - loser];
        winner->close();
        OrvoDeviceManager::releasePort(winner.get());
    }
}

TEST_F(OrvoDeviceManagerTest, ABluetoothLEDeviceNotFoundWhileItsAddressIsHeldIsInUse) {
    // A port made for the address (lower case, with colons) holds the device.
    SimulatedAccessoryConfig config;
    config.name = "00:11:62:aa:bb:cc";
    addPrinter(config);
    openExclusive(InterfaceType::bluetooth, "00:11:62:aa:bb:cc");

    const auto held = errorRaisedBy([&] { openExclusive(InterfaceType::bluetoothLE, "001162AABBCC", 100); });
    ASSERT_TRUE(held);
    EXPECT_EQ(held->kind(), Prelix10ErrorKind::inUse);
    EXPECT_EQ(held->message(), "The device is in use by another process.");

    const auto absent = errorRaisedBy([&] { openExclusive(InterfaceType::bluetoothLE, "001162000001", 100); });
    ASSERT_TRUE(absent);
    EXPECT_EQ(absent->kind(), Prelix10ErrorKind::notFound);
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 1u);
}

TEST_F(OrvoDeviceManagerTest, PortsOfDifferentInterfacesNeverBlockEachOther) {
    addPrinter();
    SimulatedBlePeripheralConfig config;  // the same address as the accessory's serial number
    auto peripheral = SimulatedBlePeripheral::make(config, engine);
    central->addPeripheral(peripheral);
    central->setAdvertisingInterval(5ms);
    openExclusive(InterfaceType::bluetooth, "00:11:62:AA:BB:CC");
    EXPECT_TRUE(openExclusive(InterfaceType::bluetoothLE, "00:11:62:AA:BB:CC", 2000)->isConnected());
    peripheral->dropLink();
}
