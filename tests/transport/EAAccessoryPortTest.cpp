// The accessory raw ports against the simulated accessory system, with the virtual printer behind it.
#include <gtest/gtest.h>

#include <atomic>

#include "AccessoryFixture.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const ByteBlock kStatusRequest = bytesFromHex("1B 06 01");

class EAAccessoryPortTest : public AccessoryFixture {};

}  // namespace

TEST_F(EAAccessoryPortTest, CarriesARequestAndItsReplyAndReportsItsInterface) {
    addPrinter();
    BluetoothPort port("00:11:62:aa:bb:cc");
    EXPECT_EQ(port.interfaceType(), InterfaceType::bluetooth);
    EXPECT_TRUE(port.identifiers().empty());
    port.open(2000);
    ASSERT_TRUE(port.isConnected());
    EXPECT_EQ(port.identifiers(), (std::vector<std::string>{"001162AABBCC"}));

    port.write(kStatusRequest, 1000);
    const ByteBlock reply = port.readUntilSize(16, 1000);
    EXPECT_EQ(hex(reply).substr(0, 2), "41");  // a 16-byte status block
    EXPECT_EQ(engine->statusRequestCount(), 1u);
    port.close();
    EXPECT_FALSE(port.isConnected());

    EXPECT_EQ(USBPort("x").interfaceType(), InterfaceType::usb);
    EXPECT_EQ(EAAccessoryPort("x").interfaceType(), InterfaceType::unknown);
}

TEST_F(EAAccessoryPortTest, LookupMatchesNameSerialOrTheFirstAccessoryOfItsType) {
    auto first = addPrinter();
    SimulatedAccessoryConfig second;
    second.name = "Wexal-T20";
    second.serialNumber = "00:11:62:00:00:02";
    addPrinter(second);
    addPrinter(usbConfig());
    SimulatedAccessoryConfig stranger;
    stranger.manufacturer = "Someone Else";
    stranger.name = "Stranger";
    addPrinter(stranger);

    struct Case {
        std::function<std::unique_ptr<EAAccessoryPort>()> make;
        std::string expectedName;
    };
    const Case cases[] = {
        {[] { return std::make_unique<BluetoothPort>(OrvoConnectionSettings::FIRST_FOUND_DEVICE()); }, "Wexal-T10"},
        {[] { return std::make_unique<BluetoothPort>("Wexal-T20"); }, "Wexal-T20"},
        {[] { return std::make_unique<BluetoothPort>("00-11-62-00-00-02"); }, "Wexal-T20"},
        {[] { return std::make_unique<USBPort>(OrvoConnectionSettings::FIRST_FOUND_DEVICE()); }, "Wexal-U20"},
        {[] { return std::make_unique<USBPort>("U20-0001"); }, "Wexal-U20"},
    };
    for (const auto& c : cases) {
        auto port = c.make();
        SCOPED_TRACE(port->identifier());
        port->findDevice(500);
        ASSERT_TRUE(port->accessory());
        EXPECT_EQ(port->accessory()->name(), c.expectedName);
    }
    for (const std::string id : {"Stranger", "Wexal-U20", "Missing"}) {
        SCOPED_TRACE(id);
        BluetoothPort port(id);
        const auto error = errorRaisedBy([&] { port.findDevice(30); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::notFound);
        EXPECT_EQ(error->message(), "Device not found.");
        EXPECT_FALSE(port.accessory());
    }
    EXPECT_EQ(first->sessionRequests(), 0u);  // a lookup opens nothing
}

TEST_F(EAAccessoryPortTest, RefusedSessionIsRetriedUntilOpenFailedAtTheTimeout) {
    auto accessory = addPrinter();
    accessory->setFaults([] {
        SimulatedAccessoryFaults f;
        f.refuseAlways = true;
        return f;
    }());
    BluetoothPort port("Wexal-T10");
    std::optional<Prelix10Error> error;
    const auto took = durationOf([&] { error = errorRaisedBy([&] { port.open(200); }); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
    EXPECT_EQ(error->message(), "Open failed.");
    EXPECT_GE(took, 200ms);
    EXPECT_LT(took, 600ms);
    EXPECT_FALSE(port.isConnected());
    // One attempt every 10 ms.
    EXPECT_GE(accessory->sessionRequests(), 5u);
    EXPECT_LE(accessory->sessionRequests(), 25u);

    // A session given after a few refusals opens the port; the accessory found before is kept.
    accessory->setFaults([] {
        SimulatedAccessoryFaults f;
        f.refuseSessions = 3;
        return f;
    }());
    const std::size_t before = accessory->sessionRequests();
    port.open(1000);
    EXPECT_TRUE(port.isConnected());
    EXPECT_EQ(accessory->sessionRequests() - before, 4u);
}

TEST_F(EAAccessoryPortTest, SessionWithoutAStreamIsUnknownErrorAndIsNotKept) {
    auto accessory = addPrinter();
    for (const bool input : {true, false}) {
        SCOPED_TRACE(input ? "no input stream" : "no output stream");
        SimulatedAccessoryFaults faults;
        faults.missingInputStream = input;
        faults.missingOutputStream = !input;
        accessory->setFaults(faults);
        BluetoothPort port("Wexal-T10");
        const auto error = errorRaisedBy([&] { port.open(500); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(error->message(), "Unknown Error.");
        EXPECT_FALSE(port.isConnected());
        EXPECT_EQ(accessory->openSessions(), 0u);
    }
}

TEST_F(EAAccessoryPortTest, WritesWaitForTheStreamAndAnEmptyWriteCompletesAtOnce) {
    auto accessory = addPrinter();
    BluetoothPort port("Wexal-T10");
    port.open(1000);

    // Written in pieces of at most 100 bytes, one piece per pass of the pump.
    SimulatedAccessoryFaults small;
    small.outputChunk = 100;
    accessory->setFaults(small);
    ByteBlock job(1000);
    for (std::size_t i = 0; i < job.size(); ++i) job[i] = static_cast<std::uint8_t>(0x20 + i % 90);
    port.write(job, 3000);
    EXPECT_EQ(hex(accessory->receivedBytes()), hex(job));
    EXPECT_EQ(port.pendingWriteCount(), 0u);

    const auto writesBefore = accessory->writes().size();
    EXPECT_LT(durationOf([&] { port.write({}, 5000); }), 250ms);
    EXPECT_EQ(accessory->writes().size(), writesBefore);
}

TEST_F(EAAccessoryPortTest, NoSpaceGivesWriteFailedAtTheTimeoutAndLeavesNothingQueued) {
    auto accessory = addPrinter();
    BluetoothPort port("Wexal-T10");
    port.open(1000);
    SimulatedAccessoryFaults faults;
    faults.noSpace = true;
    accessory->setFaults(faults);
    std::optional<Prelix10Error> error;
    const auto took = durationOf([&] { error = errorRaisedBy([&] { port.write(ByteBlock(64, 0x41), 150); }); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
    EXPECT_EQ(error->message(), "Write failed.");
    EXPECT_GE(took, 150ms);
    EXPECT_EQ(port.pendingWriteCount(), 0u);
    EXPECT_TRUE(port.isConnected());

    // Room again: the dropped bytes never follow, the next write goes alone.
    accessory->setFaults({});
    port.write(kStatusRequest, 1000);
    EXPECT_EQ(hex(accessory->receivedBytes()), hex(kStatusRequest));
}

TEST_F(EAAccessoryPortTest, CloseKeepsTheIdentifiersAndTheNextOpenSkipsTheLookup) {
    auto accessory = addPrinter();
    std::atomic<int> lookups{0};
    EAAccessoryPortSettings::setAccessoryLookup([&](EAAccessoryType type, const std::string& id, std::int64_t timeout) {
        ++lookups;
        auto match = EAAccessoryPortSettings::findConnectedAccessory(type, id, timeout);
        OrvoConnectionIdentifier identifier;
        identifier.bluetoothAddress = "001162AABBCC";
        identifier.usbSerialNumber = "U-77";
        match.connectionIdentifier = identifier;
        return match;
    });
    BluetoothPort port("Wexal-T10");
    port.open(1000);
    port.write(kStatusRequest, 1000);
    ASSERT_TRUE(eventually([&] { return port.bufferedByteCount() > 0; }));
    port.close();

    EXPECT_FALSE(port.isConnected());
    EXPECT_EQ(port.identifiers(), (std::vector<std::string>{"001162AABBCC", "001162AABBCC", "U-77"}));
    EXPECT_EQ(port.modelNumber(), "WXT10");
    EXPECT_TRUE(port.readOnce(100).empty());
    EXPECT_TRUE(port.readOnceUnconsumed(100).empty());
    EXPECT_EQ(accessory->openSessions(), 0u);

    port.open(1000);
    EXPECT_TRUE(port.isConnected());
    EXPECT_EQ(lookups.load(), 1);
    EXPECT_EQ(accessory->sessionsGiven(), 2u);
}

TEST_F(EAAccessoryPortTest, FailedReadsAppendNothingAndLaterBytesStillCome) {
    auto accessory = addPrinter();
    BluetoothPort port("Wexal-T10");
    port.open(1000);
    SimulatedAccessoryFaults faults;
    faults.failingReads = 5;
    accessory->setFaults(faults);
    ASSERT_TRUE(eventually([&] { return accessory->faults().failingReads == 0; }));
    EXPECT_EQ(port.bufferedByteCount(), 0);
    EXPECT_TRUE(port.isConnected());

    accessory->deviceSend(bytesFromHex("01 02 03"));
    EXPECT_EQ(hex(port.readUntilSize(3, 1000)), "010203");
    EXPECT_EQ(port.bufferedByteCount(), 0);
}

TEST_F(EAAccessoryPortTest, DisconnectEndsTheSessionAndAWaitingWriteFailsAtOnce) {
    auto accessory = addPrinter();
    BluetoothPort port("Wexal-T10");
    port.open(1000);
    accessory->deviceSend(bytesFromHex("AA BB"));
    ASSERT_TRUE(eventually([&] { return port.bufferedByteCount() == 2; }));

    SimulatedAccessoryFaults faults;
    faults.noSpace = true;
    accessory->setFaults(faults);
    std::thread unplug([&] {
        std::this_thread::sleep_for(50ms);
        accessory->disconnect();
    });
    std::optional<Prelix10Error> error;
    const auto took = durationOf([&] { error = errorRaisedBy([&] { port.write(ByteBlock(16, 0x41), 5000); }); });
    unplug.join();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Write failed.");
    EXPECT_LT(took, 1000ms);
    EXPECT_FALSE(port.isConnected());
    // What came before the link went is still there to read; operations that need the link fail.
    EXPECT_EQ(hex(port.readOnce(10)), "AABB");
    const auto notOpened = errorRaisedBy([&] { port.write(kStatusRequest, 100); });
    ASSERT_TRUE(notOpened);
    EXPECT_EQ(notOpened->message(), "Not opened.");
    port.close();

    accessory->reconnect();
    accessory->setFaults({});
    port.open(1000);
    EXPECT_TRUE(port.isConnected());
}

TEST_F(EAAccessoryPortTest, CloseStopsThePumpWithinAFewPumpCycles) {
    auto accessory = addPrinter();
    BluetoothPort port("Wexal-T10");
    for (int round = 0; round < 20; ++round) {
        port.open(1000);
        // Traffic in both directions while the close comes.
        std::atomic<bool> sending{true};
        std::thread device([&] {
            while (sending) {
                accessory->deviceSend(ByteBlock(512, 0x55));
                std::this_thread::sleep_for(1ms);
            }
        });
        port.write(ByteBlock(2048, 0x41), 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 7));
        const auto took = durationOf([&] { port.close(); });
        sending = false;
        device.join();
        EXPECT_LT(took, 100ms) << "round " << round;
        EXPECT_FALSE(port.isConnected());
        EXPECT_EQ(accessory->openSessions(), 0u);
        EXPECT_EQ(port.bufferedByteCount(), 0);
    }
}

TEST_F(EAAccessoryPortTest, DestroyingThePortFromItsOwnCompletionEndsCleanly) {
    auto accessory = addPrinter();
    {
        // The open completion runs on the pump's thread.
        auto port = std::make_shared<BluetoothPort>("Wexal-T10");
        port->findDevice(500);
        std::atomic<bool> called{false};
        std::weak_ptr<BluetoothPort> watch = port;
        auto* raw = port.get();
        raw->internalOpen(1000, [&called, owner = std::move(port)](std::optional<Prelix10Error> error) mutable {
            EXPECT_FALSE(error);
            owner.reset();
            called = true;
        });
        ASSERT_TRUE(eventually([&] { return called.load(); }));
        EXPECT_TRUE(watch.expired());
        EXPECT_TRUE(eventually([&] { return accessory->openSessions() == 0; }));
    }
    {
        // The write completion runs on the writer's thread.
        auto port = std::make_shared<BluetoothPort>("Wexal-T10");
        port->open(1000);
        std::atomic<bool> called{false};
        auto* raw = port.get();
        raw->internalWrite(kStatusRequest, 1000, [&called, owner = std::move(port)](std::optional<Prelix10Error>) mutable {
            owner.reset();
            called = true;
        });
        EXPECT_TRUE(called.load());
        EXPECT_TRUE(eventually([&] { return accessory->openSessions() == 0; }));
    }
}

TEST_F(EAAccessoryPortTest, BluetoothNeedsTheRadioAndUSBDoesNot) {
    addPrinter();
    addPrinter(usbConfig());
    central->setState(BleManagerState::poweredOff);
    BluetoothPort bluetooth("Wexal-T10");
    const auto error = errorRaisedBy([&] { bluetooth.open(500); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::illegalDeviceState);
    EXPECT_EQ(error->message(), "Bluetooth unavailable.");
    EXPECT_EQ(error->errorCode(), Prelix10ErrorCode::bluetoothUnavailable);

    USBPort usb("Wexal-U20");
    usb.open(500);
    EXPECT_TRUE(usb.isConnected());
}

TEST_F(EAAccessoryPortTest, APortOfNoAccessoryTypeFailsWithTheUnexpectedState) {
    addPrinter();
    EAAccessoryPort port("Wexal-T10");
    const auto error = errorRaisedBy([&] { port.open(200); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::unknown);
    EXPECT_NE(error->message().find("Unexpected state"), std::string::npos) << error->message();
    EXPECT_FALSE(port.isConnected());
}
