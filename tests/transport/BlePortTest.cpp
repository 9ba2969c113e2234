#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <thread>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/transport/RawPortFactory.hpp"
#include "transport/BleFixture.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

ByteBlock patternBytes(std::size_t n) {
    ByteBlock out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    return out;
}

class BlePortTest : public BleFixture {
protected:
    std::shared_ptr<BluetoothLEPrintPort> openedPort(const std::string& identifier = "001162AABBCC",
                                                     std::int64_t timeout = 3000) {
        auto port = std::make_shared<BluetoothLEPrintPort>(identifier);
        port->open(timeout);
        return port;
    }
};

TEST_F(BlePortTest, OpensByAddressAndCarriesAJobAndItsStatusReplyEndToEnd) {
    SimulatedBlePeripheralConfig config;
    config.address = "00:11:62:aa:bb:cc";  // the stack's form; the identifier is given without separators
    config.notifyLength = 5;               // the status block arrives in several notifications
    auto peripheral = addPrinter(config);
    auto port = openedPort("001162AABBCC");
    EXPECT_TRUE(port->isConnected());
    EXPECT_EQ(port->identifiers(), std::vector<std::string>{"001162AABBCC"});
    EXPECT_EQ(port->interfaceType(), InterfaceType::bluetoothLE);
    EXPECT_EQ(port->mtu(), 512);
    EXPECT_TRUE(peripheral->isNotifying());

    const ByteBlock job = bytesFromHex("1B 40 48 65 6C 6C 6F 0A");
    port->write(job, 2000);
    port->write(bytesFromHex("1B 06 01"), 2000);
    const Bytes expected = encodeStatusBlock(engine->state(), 16, 3);
    const ByteBlock reply = port->readUntilSize(static_cast<std::int64_t>(expected.size()), 2000);
    EXPECT_EQ(hex(reply), hex(expected));
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), hex(job) + "1B0601");

    port->close();
    EXPECT_FALSE(port->isConnected());
    EXPECT_EQ(peripheral->state(), BlePeripheralState::disconnected);
    // Closed: reads give nothing, the identifiers stay, a reopen skips the lookup.
    EXPECT_TRUE(port->readOnce(10).empty());
    EXPECT_EQ(port->identifiers(), std::vector<std::string>{"001162AABBCC"});
    const auto scans = central->scanStarts();
    port->open(3000);
    EXPECT_EQ(central->scanStarts(), scans);
    EXPECT_EQ(peripheral->connectCount(), 2u);
}

TEST_F(BlePortTest, WritesAreCutToTheChunkSizeAndPacedAtThePeripheral) {
    struct Case {
        const char* name;
        std::string deviceName;
        int mtu;
        BleWriteType type;
        std::size_t bytes;
        std::vector<std::size_t> chunks;
    };
    const std::vector<Case> cases = {
        {"600 at 512", "Wexal-T10-BLE", 512, BleWriteType::withResponse, 600, {512, 88}},
        {"small-chunk model", "Wexal-R799-BLE", 512, BleWriteType::withResponse, 600, {100, 100, 100, 100, 100, 100}},
        {"second small-chunk model", "Wexal-R690", 185, BleWriteType::withoutResponse, 250, {100, 100, 50}},
        {"without response at 185", "Wexal-T10-BLE", 185, BleWriteType::withoutResponse, 400, {185, 185, 30}},
        {"no usable length", "Wexal-T10-BLE", 0, BleWriteType::withResponse, 45, {20, 20, 5}},
        {"negative length", "Wexal-T10-BLE", -3, BleWriteType::withoutResponse, 41, {20, 20, 1}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedBlePeripheralConfig config;
        config.address = "00:11:62:00:01:0" + std::to_string(n++);
        config.name = c.deviceName;
        config.localName = c.deviceName;
        config.mtuWithResponse = c.mtu;
        config.mtuWithoutResponse = c.mtu;
        auto peripheral = addPrinter(config);
        auto port = openedPort(config.address);
        port->setWriteType(c.type);
        EXPECT_EQ(port->mtu(), c.mtu);
        const ByteBlock data = patternBytes(c.bytes);
        port->write(data, 5000);
        const auto writes = peripheral->writes();
        std::vector<std::size_t> sizes;
        for (const auto& w : writes) {
            sizes.push_back(w.bytes.size());
            EXPECT_EQ(w.type, c.type);
        }
        EXPECT_EQ(sizes, c.chunks);
        EXPECT_EQ(hex(peripheral->receivedBytes()), hex(data));
        for (auto gap : gapsOf(timesOf(writes))) EXPECT_GE(gap, 10000) << "a chunk came before its pause ended";
        for (auto gap : gapsOf(peripheral->writeRoomPolls())) EXPECT_GE(gap, 10000) << "a room poll came early";
        port->close();
    }
}

TEST_F(BlePortTest, EmptyWriteSendsNothingAndReturnsAtOnce) {
    auto peripheral = addPrinter();
    auto port = openedPort();
    const auto waited = elapsedDuring([&] { port->write({}, 1000); });
    EXPECT_LT(waited, 250ms) << "the empty write waited on its budget";
    EXPECT_TRUE(peripheral->writes().empty());
}

TEST_F(BlePortTest, FailedOpensGiveTheirErrorAndLeaveThePortClosed) {
    struct Case {
        const char* name;
        SimulatedBleFaults faults;
        bool paired;
        Prelix10ErrorKind kind;
        const char* message;
        Prelix10ErrorCode code;
    };
    const char* notPaired =
        "Bluetooth LE device is not paired. Please complete the pairing process before trying again.";
    SimulatedBleFaults none;
    SimulatedBleFaults missingNotify;
    missingNotify.missingNotifyCharacteristic = true;
    SimulatedBleFaults silentNotify;
    silentNotify.neverAnswerNotify = true;
    SimulatedBleFaults otherAtt;
    otherAtt.notifyAttError = 3;
    SimulatedBleFaults noConnect;
    noConnect.neverConnect = true;
    SimulatedBleFaults noServices;
    noServices.neverDiscoverServices = true;
    SimulatedBleFaults noCharacteristics;
    noCharacteristics.neverDiscoverCharacteristics = true;
    const auto comm = Prelix10ErrorKind::communication;
    const auto state = Prelix10ErrorKind::illegalDeviceState;
    const auto zero = Prelix10ErrorCode::none;
    const auto code2003 = Prelix10ErrorCode::bluetoothLeDeviceIsNotPaired;
    const std::vector<Case> cases = {
        {"unpaired", none, false, state, notPaired, code2003},
        {"notification switch unanswered", silentNotify, true, state, notPaired, code2003},
        {"other attribute error", otherAtt, true, comm, "Open failed.", zero},
        {"notify characteristic missing", missingNotify, true, comm, "Open failed.", zero},
        {"never connects", noConnect, true, comm, "Open failed.", zero},
        {"services never discovered", noServices, true, comm, "Open failed.", zero},
        {"characteristics never discovered", noCharacteristics, true, comm, "Open failed.", zero},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedBlePeripheralConfig config;
        config.address = "00:11:62:00:02:0" + std::to_string(n++);
        config.paired = c.paired;
        auto peripheral = addPrinter(config, c.faults);
        auto port = std::make_shared<BluetoothLEPrintPort>(config.address);
        std::optional<Prelix10Error> error;
        const auto waited = elapsedDuring([&] { error = errorOf([&] { port->open(400); }); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind(), c.kind) << error->description();
        EXPECT_EQ(error->message(), c.message);
        EXPECT_EQ(error->errorCode(), c.code);
        EXPECT_LT(waited, 1500ms);
        EXPECT_FALSE(port->isConnected());
        EXPECT_EQ(peripheral->state(), BlePeripheralState::disconnected);
        EXPECT_EQ(CentralManagerControl::shared().pendingConnectCount(), 0u);
    }
}

TEST_F(BlePortTest, PrintAndSettingPortsLookForTheirOwnService) {
    SimulatedBlePeripheralConfig config;
    config.printService = false;
    config.atService = true;
    auto module = SimulatedBlePeripheral::make(config, nullptr, [](std::span<const std::uint8_t> bytes) {
        Bytes reply(bytes.begin(), bytes.end());
        reply.push_back('\r');
        return reply;
    });
    central->addPeripheral(module);
    peripherals.push_back(module);

    auto print = RawPortFactory::create(InterfaceType::bluetoothLE, config.address, RawPortTargetType::printer);
    ASSERT_NE(dynamic_cast<BluetoothLEPrintPort*>(print.get()), nullptr);
    const auto error = errorOf([&] { print->open(1000); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), "Open failed.");

    auto setting = RawPortFactory::create(InterfaceType::bluetoothLE, config.address, RawPortTargetType::settingDevice);
    ASSERT_NE(dynamic_cast<BluetoothLESettingPort*>(setting.get()), nullptr);
    setting->open(1000);
    setting->write(bytesFromHex("41 54"), 1000);
    EXPECT_EQ(hex(setting->readUntilSize(3, 1000)), "41540D");
}

TEST_F(BlePortTest, UnavailableRadioAndUnseenDeviceFailTheLookup) {
    auto port = std::make_shared<BluetoothLEPrintPort>("001162AABBCC");
    central->setState(BleManagerState::poweredOff);
    auto error = errorOf([&] { port->open(500); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), "Bluetooth unavailable.");
    EXPECT_EQ(error->errorCode(), Prelix10ErrorCode::bluetoothUnavailable);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::illegalDeviceState);

    central->setState(BleManagerState::poweredOn);
    const auto waited = elapsedDuring([&] { error = errorOf([&] { port->open(150); }); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), "Device not found.");
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::notFound);
    EXPECT_GE(waited, 150ms);
    EXPECT_LT(waited, 1000ms);
    EXPECT_EQ(CentralManagerControl::shared().scannerCount(), 0u);
    EXPECT_FALSE(central->isScanning());

    // The first-found identifier takes any device with an address.
    addPrinter();
    auto first = std::make_shared<BluetoothLEPrintPort>(OrvoConnectionSettings::FIRST_FOUND_DEVICE());
    first->open(2000);
    EXPECT_EQ(first->identifiers(), std::vector<std::string>{"001162AABBCC"});
}

TEST_F(BlePortTest, ReadsReturnNotifiedBytesInOrderAcrossNotificationsWithinTheirBudget) {
    SimulatedBlePeripheralConfig config;
    config.notifyLength = 7;
    auto peripheral = addPrinter(config);
    auto port = openedPort();
    const ByteBlock bytes = patternBytes(50);
    std::thread device([&] {
        std::this_thread::sleep_for(30ms);
        peripheral->notify(std::span<const std::uint8_t>(bytes).first(23));
        std::this_thread::sleep_for(30ms);
        peripheral->notify(std::span<const std::uint8_t>(bytes).subspan(23));
    });
    ByteBlock read;
    const auto waited = elapsedDuring([&] { read = port->readUntilSize(50, 2000); });
    device.join();
    EXPECT_EQ(hex(read), hex(bytes));
    EXPECT_LT(waited, 500ms) << "the read did not wake on the notifications";

    // Range and unconsumed reads over the cache.
    peripheral->notify(bytesFromHex("00 01 02 03 04 05"));
    ASSERT_EQ(hex(port->readUntilSize(0, 0)), "");
    const auto until = std::chrono::steady_clock::now() + 2s;
    while (port->bufferedByteCount() < 6 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(2ms);
    EXPECT_EQ(hex(port->readOnce(ByteRange{2, 4})), "020304");
    EXPECT_EQ(hex(port->readOnceUnconsumed(8)), "000105");
    EXPECT_EQ(hex(port->readOnce(8)), "000105");

    // Too few bytes: the budget ends the read.
    peripheral->notify(bytesFromHex("AA BB"));
    std::optional<Prelix10Error> error;
    const auto spent = elapsedDuring([&] { error = errorOf([&] { port->readUntilSize(10, 200); }); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), "Request timed out.");
    EXPECT_GE(spent, 200ms);
    EXPECT_LT(spent, 400ms);
}

TEST_F(BlePortTest, CloseDuringAWriteOrAReadEndsItWithAnError) {
    struct Case {
        const char* name;
        bool read;
        SimulatedBleFaults faults;
        int mtu;
    };
    SimulatedBleFaults stalled;
    stalled.neverAcknowledgeWrite = true;
    const std::vector<Case> cases = {
        {"write between chunks", false, {}, 20},
        {"write waiting for its acknowledgement", false, stalled, 512},
        {"read waiting for bytes", true, {}, 512},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedBlePeripheralConfig config;
        config.address = "00:11:62:00:03:0" + std::to_string(n++);
        config.mtuWithResponse = c.mtu;
        auto peripheral = addPrinter(config, c.faults);
        auto port = openedPort(config.address);
        auto result = std::make_shared<std::promise<std::optional<Prelix10Error>>>();
        std::thread worker([port, result, read = c.read] {
            result->set_value(errorOf([&] {
                if (read) port->readUntilSize(100, 10000);
                else port->write(patternBytes(20000), 10000);
            }));
        });
        std::this_thread::sleep_for(60ms);
        auto future = result->get_future();
        const auto waited = elapsedDuring([&] {
            port->close();
            ASSERT_EQ(future.wait_for(2s), std::future_status::ready) << "the operation hung after close";
        });
        worker.join();
        const auto error = future.get();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message(), c.read ? "Not opened." : "Write failed.");
        EXPECT_LT(waited, 500ms);
        // The worker finishes its bookkeeping just after it delivers the error.
        const auto until = std::chrono::steady_clock::now() + 1s;
        while (port->operationsInFlight() != 0 && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(1ms);
        }
        EXPECT_EQ(port->operationsInFlight(), 0u);
    }
}

TEST_F(BlePortTest, DestroyingAPortMidOperationEndsTheOperationAndWaitsForIt) {
    struct Case {
        const char* name;
        bool open;
        SimulatedBleFaults faults;
    };
    SimulatedBleFaults stalled;
    stalled.neverAcknowledgeWrite = true;
    SimulatedBleFaults noServices;
    noServices.neverDiscoverServices = true;
    SimulatedBleFaults noConnect;
    noConnect.neverConnect = true;
    const std::vector<Case> cases = {
        {"write", false, stalled},
        {"open while discovering", true, noServices},
        {"open while connecting", true, noConnect},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedBlePeripheralConfig config;
        config.address = "00:11:62:00:04:0" + std::to_string(n++);
        auto peripheral = addPrinter(config);
        auto port = std::make_unique<BluetoothLEPrintPort>(config.address);
        if (!c.open) port->open(2000);
        peripheral->setFaults(c.faults);
        if (c.open) port->findDevice(2000);
        auto result = std::make_shared<std::promise<std::optional<Prelix10Error>>>();
        auto calls = std::make_shared<std::atomic<int>>(0);
        auto done = [result, calls](std::optional<Prelix10Error> error) {
            if (calls->fetch_add(1) == 0) result->set_value(std::move(error));
        };
        if (c.open) port->internalOpen(20000, done);
        else port->internalWrite(patternBytes(2000), 20000, done);
        std::this_thread::sleep_for(60ms);
        const auto waited = elapsedDuring([&] { port.reset(); });
        auto future = result->get_future();
        ASSERT_EQ(future.wait_for(0s), std::future_status::ready) << "the destructor left the operation running";
        const auto error = future.get();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message(), c.open ? "Open failed." : "Write failed.");
        EXPECT_LT(waited, 500ms);
        EXPECT_EQ(calls->load(), 1);
        EXPECT_EQ(peripheral->state(), BlePeripheralState::disconnected);
    }
}

TEST_F(BlePortTest, APortReleasedInsideItsOwnCompletionEndsThatCompletion) {
    auto peripheral = addPrinter();
    auto holder = std::make_shared<std::shared_ptr<BluetoothLEPrintPort>>(openedPort());
    auto* port = holder->get();
    auto released = std::make_shared<std::promise<void>>();
    // The completion holds the last reference, and lets it go on the worker that runs the write.
    port->internalWrite(patternBytes(30), 2000, [holder, released](std::optional<Prelix10Error>) {
        holder->reset();
        released->set_value();
    });
    holder.reset();
    EXPECT_EQ(released->get_future().wait_for(5s), std::future_status::ready)
        << "the release hung its worker";
}

TEST_F(BlePortTest, ALateAcknowledgementOfAClosedLinkNeverAnswersTheNextLinksWrite) {
    SimulatedBleFaults late;
    late.writeAcknowledgeDelay = 600ms;
    auto peripheral = addPrinter({}, late);
    auto port = openedPort();
    const auto first = errorOf([&] { port->write(patternBytes(10), 100); });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->message(), "Write failed.");
    port->close();
    // The device acknowledges nothing on the next link: the first link's answer, still on its way, is all
    // that could make the write succeed.
    SimulatedBleFaults silent;
    silent.neverAcknowledgeWrite = true;
    peripheral->setFaults(silent);
    port->open(3000);
    const auto second = errorOf([&] { port->write(patternBytes(10), 1200); });
    ASSERT_TRUE(second) << "an acknowledgement of the closed link answered this write";
    EXPECT_EQ(second->message(), "Write failed.");
}

TEST_F(BlePortTest, TheLongestTimeoutMeansNoLimit) {
    addPrinter();
    auto port = openedPort("001162AABBCC", INT64_MAX);
    EXPECT_TRUE(port->isConnected());
    port->write(patternBytes(10), INT64_MAX);
    EXPECT_EQ(CentralManagerControl::shared().waitForState(INT64_MAX), BleManagerState::poweredOn);
}

TEST_F(BlePortTest, ProcessExitWithAnOpenPortDoesNotHang) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(10);  // a hang at exit ends in SIGALRM, not in a clean exit
            auto peripheral = addPrinter();
            static std::shared_ptr<BluetoothLEPrintPort> port;
            port = std::make_shared<BluetoothLEPrintPort>("001162AABBCC");
            port->open(3000);
            port->write(patternBytes(100), 1000);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace Prelix10::Testing
