// The printer ports of the maker's emulations over an accessory and over Bluetooth LE, and the printer-port
// factory's rows for them.
#include <gtest/gtest.h>

#include "AccessoryFixture.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/OrvoBluetoothLEPrinterPort.hpp"
#include "prelix10/transport/OrvoEAAccessoryPrinterPort.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

class OrvoEAAccessoryPrinterPortTest : public AccessoryFixture {
protected:
    std::shared_ptr<OrvoEAAccessoryPrinterPort> openPrinter(std::int64_t timeout = 2000) {
        auto raw = std::make_shared<BluetoothPort>("Wexal-T10");
        auto port = std::make_shared<OrvoEAAccessoryPrinterPort>(raw);
        port->setEmulation(OrvoPrinterEmulation::kestrin);
        port->open(timeout);
        return port;
    }
};

std::string statusBlockOf(const PrinterState& state) { return hex(encodeStatusBlock(state, 16, 3)); }

}  // namespace

TEST_F(OrvoEAAccessoryPrinterPortTest, FactoryRowsForAccessoryAndBluetoothLEPorts) {
    struct Case {
        std::shared_ptr<RawPort> port;
        OrvoPrinterEmulation emulation;
        const char* made;  // the class made, or the line of the error
    };
    auto accessory = std::make_shared<USBPort>("u");
    auto ble = std::make_shared<BluetoothLEPrintPort>("00:11:62:AA:BB:CC");
    auto tcp = std::make_shared<TCPPort>("127.0.0.1", 9100);
    auto udp = std::make_shared<UDPPort>("127.0.0.1", 0, "127.0.0.1", 22222);
    const Case cases[] = {
        {accessory, OrvoPrinterEmulation::orvoLine, "OrvoEAAccessoryPrinterPort"},
        {accessory, OrvoPrinterEmulation::kestrin, "OrvoEAAccessoryPrinterPort"},
        {accessory, OrvoPrinterEmulation::escPos, "24"},
        {accessory, OrvoPrinterEmulation::unknown, "24"},
        {ble, OrvoPrinterEmulation::kestrin, "OrvoBluetoothLEPrinterPort"},
        {ble, OrvoPrinterEmulation::orvoLine, "33"},
        {ble, OrvoPrinterEmulation::escPosMobile, "33"},
        {tcp, OrvoPrinterEmulation::orvoGraphic, "OrvoLANPrinterPort"},
        {tcp, OrvoPrinterEmulation::escPosMobile, "13"},
        {udp, OrvoPrinterEmulation::kestrin, "38"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.made) + " for emulation " + std::to_string(static_cast<int>(c.emulation)));
        std::shared_ptr<PrinterPort> port;
        const auto error = errorRaisedBy([&] { port = PrinterPortFactory::create(c.port, c.emulation, false); });
        if (std::isdigit(static_cast<unsigned char>(c.made[0]))) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
            EXPECT_EQ(error->message(), "Not Supported interface.");
            continue;
        }
        ASSERT_TRUE(port);
        EXPECT_EQ(typeNameOf(*port), c.made);
        EXPECT_EQ(port->emulation(), c.emulation);
        EXPECT_EQ(&port->rawPort(), c.port.get());
    }
}

TEST_F(OrvoEAAccessoryPrinterPortTest, InitialiseSwitchesAutomaticStatusOffAndWaitsForQuiet) {
    engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
    auto accessory = addPrinter();
    auto port = openPrinter();
    EXPECT_FALSE(engine->automaticStatusEnabled());
    EXPECT_EQ(hex(accessory->receivedBytes()), "1B1E6100");
    // Nothing arrives any more: what the printer sent before the switch was swallowed.
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(port->readOnceUnconsumed(1024).empty());
    port->close();
    EXPECT_FALSE(port->isConnected());
    EXPECT_EQ(accessory->openSessions(), 0u);
}

TEST_F(OrvoEAAccessoryPrinterPortTest, APrinterThatNeverFallsQuietFailsTheInitialise) {
    auto accessory = addPrinter();
    auto raw = std::make_shared<BluetoothPort>("Wexal-T10");
    raw->open(1000);
    std::atomic<bool> chatter{true};
    std::thread device([&] {
        while (chatter) {
            accessory->deviceSend(bytesFromHex("FE"));
            std::this_thread::sleep_for(5ms);
        }
    });
    OrvoEAAccessoryPrinterPort port(raw);
    port.setEmulation(OrvoPrinterEmulation::kestrin);
    const auto error = errorRaisedBy([&] { port.initialize(300); });
    chatter = false;
    device.join();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::badResponse);
    EXPECT_EQ(error->message(), "Initialize failed.");
}

TEST_F(OrvoEAAccessoryPrinterPortTest, AStatusReadAnswersTheNewRequestNeverAStaleBlock) {
    auto accessory = addPrinter();
    auto port = openPrinter();
    engine->update([](PrinterState& s) { s.paperNearEmpty = true; });
    // A block from before the change is still waiting in the buffer.
    PrinterState old;
    old.coverOpen = true;
    accessory->deviceSend(bytesFromHex(statusBlockOf(old)));
    ASSERT_TRUE(eventually([&] { return port->readOnceUnconsumed(1024).size() == 16; }));
    const auto status = port->getStatus(1000);
    EXPECT_FALSE(status->coverOpen());
    EXPECT_TRUE(status->paperNearEmpty());
    EXPECT_TRUE(port->readOnceUnconsumed(1024).empty());
}

TEST_F(OrvoEAAccessoryPrinterPortTest, LeadingBytesAreSkippedAndBothStatusReadsAreTheSame) {
    auto accessory = addPrinter();
    auto port = openPrinter();
    SimulatedAccessoryFaults faults;
    faults.replyPrefix = bytesFromHex("1B 1E 42 31 02");  // a late input-device status reply
    accessory->setFaults(faults);
    engine->update([](PrinterState& s) { s.drawerSignal = true; });
    const std::size_t before = accessory->receivedBytes().size();
    const auto plain = port->getStatus(1000);
    const auto checked = port->getStatusWithCheckETBCounter(1000);
    EXPECT_TRUE(plain->drawerOpenCloseSignal());
    EXPECT_EQ(plain->description(), checked->description());
    const Bytes all = accessory->receivedBytes();
    EXPECT_EQ(hex(Bytes(all.begin() + static_cast<std::ptrdiff_t>(before), all.end())), "1B06011B0601");
    // The bytes in front of each block stay; those of the block are taken.
    EXPECT_EQ(hex(port->readOnce(1024)), "1B1E423102");
}

TEST_F(OrvoEAAccessoryPrinterPortTest, LineNoiseTimesOutAndAClosedPortFails) {
    addPrinter();
    auto port = openPrinter();
    engine->configure([](VirtualPrinterConfig& c) { c.garbageReplies = true; });
    std::optional<Prelix10Error> error;
    const auto took = durationOf([&] { error = errorRaisedBy([&] { port->getStatus(200); }); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
    EXPECT_EQ(error->message(), "Request timed out.");
    EXPECT_GE(took, 200ms);

    port->close();
    const auto closed = errorRaisedBy([&] { port->getStatus(200); });
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->message(), "Not opened.");
}

TEST_F(OrvoEAAccessoryPrinterPortTest, APollingPauseRunsItsFullLengthWhileRepliesArrive) {
    auto accessory = addPrinter();
    auto port = openPrinter();
    port->write(bytesFromHex("1B 06 01"), 1000);
    // The reply to the request comes within the pause; the pause still lasts its 100 ms.
    EXPECT_GE(durationOf([&] { port->waitForIncomingBytes(100ms); }), 100ms);
    EXPECT_EQ(port->readOnceUnconsumed(1024).size(), 16u);
}

TEST(OrvoBluetoothLEPrinterPortTest, InitialisesAndReadsStatusOverThePeripheral) {
    VirtualPrinterConfig config;
    config.replyFraming = ReplyFraming::plain;
    config.automaticStatus = true;
    auto engine = std::make_shared<VirtualPrinterEngine>(config);
    auto central = SimulatedBleCentral::make();
    central->setAdvertisingInterval(5ms);
    BleBackend::install(central);
    auto peripheral = SimulatedBlePeripheral::make({}, engine);
    central->addPeripheral(peripheral);
    {
        auto raw = std::make_shared<BluetoothLEPrintPort>("00:11:62:AA:BB:CC");
        auto port = std::dynamic_pointer_cast<OrvoBluetoothLEPrinterPort>(
            PrinterPortFactory::create(raw, OrvoPrinterEmulation::kestrin, false));
        ASSERT_TRUE(port);
        raw->open(2000);
        port->initialize(1000);
        EXPECT_FALSE(engine->automaticStatusEnabled());
        engine->update([](PrinterState& s) { s.coverOpen = true; });
        const auto status = port->getStatus(1000);
        EXPECT_TRUE(status->coverOpen());
        EXPECT_TRUE(status->hasError());
        EXPECT_EQ(hex(peripheral->receivedBytes()), "1B1E61001B0601");
        port->close();
        EXPECT_FALSE(raw->isConnected());
    }
    peripheral->dropLink();
    BleBackend::install(nullptr);
    CentralManagerControl::shared().centralManager();
}
