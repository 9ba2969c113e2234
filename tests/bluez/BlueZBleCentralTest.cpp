// The BlueZ central against a fake BlueZ on a private dbus-daemon that each test starts: the adapter's
// power, scanning, and a printer found, opened and printed to through the discovery and the Bluetooth LE
// port above the central, with the device's faults. Never the machine's own buses.
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/platform/BlueZBleCentral.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"
#include "support/FakeBlueZ.hpp"
#include "support/Hex.hpp"
#include "support/PrivateDBusDaemon.hpp"
#include "support/SimulatedBle.hpp"
#include "support/VirtualPrinterEngine.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const std::string kAddress = "00:11:62:AA:BB:CC";
const std::string kModel = "Ginor-7 BLE";
const std::string kStatusRequest = "1B0601";
// A small compiled job for the Kestrin emulation: initialise, text, feed and cut.
const ByteBlock kJob = bytesFromHex("1B 40 1B 1D 61 01 48 65 6C 6C 6F 2C 20 70 72 69 6E 74 65 72 0A 1B 64 03");

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(2ms);
    }
    return condition();
}

template <typename F>
std::optional<Prelix10Error> errorOf(F&& f) {
    try {
        f();
    } catch (const Prelix10Error& error) {
        return error;
    }
    return std::nullopt;
}

std::shared_ptr<VirtualPrinterEngine> makeEngine() {
    VirtualPrinterConfig config;
    config.replyFraming = ReplyFraming::plain;
    config.automaticStatus = true;
    return std::make_shared<VirtualPrinterEngine>(config);
}

// The capture without the end check's trailing status requests, whose count depends on timing.
std::string settledCapture(VirtualPrinterEngine& engine) {
    std::string capture = hex(engine.capture(PrinterChannel::data));
    while (capture.size() >= kStatusRequest.size() &&
           capture.compare(capture.size() - kStatusRequest.size(), kStatusRequest.size(), kStatusRequest) == 0) {
        capture.erase(capture.size() - kStatusRequest.size());
    }
    return capture;
}

struct RecordingCentralDelegate : BleCentralDelegate {
    std::mutex mutex;
    std::vector<BleManagerState> states;
    std::vector<std::tuple<std::shared_ptr<BlePeripheral>, BleAdvertisementData, int>> found;
    std::function<void()> onDiscover;

    void didUpdateState(BleManagerState state) override {
        std::lock_guard lock(mutex);
        states.push_back(state);
    }
    void didDiscover(const std::shared_ptr<BlePeripheral>& p, const BleAdvertisementData& data, int rssi) override {
        {
            std::lock_guard lock(mutex);
            found.emplace_back(p, data, rssi);
        }
        if (onDiscover) onDiscover();
    }
    std::size_t foundCount() {
        std::lock_guard lock(mutex);
        return found.size();
    }
};

// Another client of the bus that owns no name and sends signals straight to other connections, as any user
// may on the system bus.
class Stranger {
  public:
    explicit Stranger(const std::string& address) {
        if (sd_bus_new(&bus_) < 0 || sd_bus_set_address(bus_, address.c_str()) < 0 ||
            sd_bus_set_bus_client(bus_, 1) < 0 || sd_bus_start(bus_) < 0) {
            ADD_FAILURE() << "the stranger could not connect";
        }
    }
    ~Stranger() { sd_bus_flush_close_unref(bus_); }

    // Every other client's unique name: the central's among them.
    std::vector<std::string> others() {
        std::vector<std::string> names;
        sd_bus_message* reply = nullptr;
        if (sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                               "ListNames", nullptr, &reply, "") < 0) {
            return names;
        }
        char** list = nullptr;
        const char* own = nullptr;
        sd_bus_get_unique_name(bus_, &own);
        if (sd_bus_message_read_strv(reply, &list) >= 0) {
            for (char** n = list; n && *n; ++n) {
                if ((*n)[0] == ':' && (!own || std::string(*n) != own)) names.emplace_back(*n);
                free(*n);
            }
            free(list);
        }
        sd_bus_message_unref(reply);
        return names;
    }

    void forge(const std::string& path, const char* interface, const char* member,
               const std::function<int(sd_bus_message*)>& body) {
        for (const auto& destination : others()) {
            sd_bus_message* m = nullptr;
            int r = sd_bus_message_new_signal(bus_, &m, path.c_str(), interface, member);
            if (r >= 0) r = sd_bus_message_set_destination(m, destination.c_str());
            if (r >= 0) r = body(m);
            if (r >= 0) r = sd_bus_send(bus_, m, nullptr);
            EXPECT_GE(r, 0) << member;
            sd_bus_message_unref(m);
        }
    }

    // A round trip to the bus: everything sent before has been routed once it returns.
    void settle() {
        sd_bus_message* reply = nullptr;
        EXPECT_GE(sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "GetId", nullptr, &reply, ""),
                  0);
        sd_bus_message_unref(reply);
    }

  private:
    sd_bus* bus_ = nullptr;
};

int appendProperty(sd_bus_message* m, const char* key, const std::function<int(sd_bus_message*)>& value,
                   const char* signature) {
    int r = sd_bus_message_open_container(m, 'a', "{sv}");
    if (r >= 0) r = sd_bus_message_open_container(m, 'e', "sv");
    if (r >= 0) r = sd_bus_message_append(m, "s", key);
    if (r >= 0) r = sd_bus_message_open_container(m, 'v', signature);
    if (r >= 0) r = value(m);
    if (r >= 0) r = sd_bus_message_close_container(m);
    if (r >= 0) r = sd_bus_message_close_container(m);
    if (r >= 0) r = sd_bus_message_close_container(m);
    return r;
}

class CapturingSink : public LogSink {
  public:
    void initialize(const std::string&) override {}
    void setHeader(const std::string&) override {}
    void log(const std::string& line) override {
        std::lock_guard lock(mutex);
        lines.push_back(line);
    }
    // Lines that hold both texts.
    std::size_t count(const std::string& text, const std::string& also) {
        std::lock_guard lock(mutex);
        return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(text) != std::string::npos && l.find(also) != std::string::npos;
        }));
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};

class BlueZTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateDBusDaemon::available()) GTEST_SKIP() << "dbus-daemon is not installed";
        ModelDetection::installBluetoothLEModelDetector();
        BluetoothLEOrvoDeviceDiscoveryManager::installDeviceLookup();
        engine = makeEngine();
        daemon = std::make_unique<PrivateDBusDaemon>();
        ASSERT_FALSE(daemon->address().empty()) << "the private bus did not start";
    }
    void TearDown() override {
        if (port) {
            port->close();
            OrvoDeviceManager::releasePort(&port->rawPort());
            port.reset();
        }
        if (blePort) blePort->close();
        blePort.reset();
        BleBackend::install(nullptr);
        CentralManagerControl::shared().centralManager();
        central.reset();
        fake.reset();
        daemon.reset();
    }

    // Everything of the test ends, and a new private bus starts.
    void startOver() {
        TearDown();
        daemon = std::make_unique<PrivateDBusDaemon>();
        ASSERT_FALSE(daemon->address().empty());
    }
    static FakeBlueZConfig printerConfig() {
        FakeBlueZConfig config;
        config.address = kAddress;
        config.name = kModel;
        config.manufacturerData = advertisedPrintOnly(kAddress, kModel);
        return config;
    }
    void startFake(FakeBlueZConfig config = printerConfig()) {
        fake = std::make_unique<FakeBlueZ>(daemon->address(), std::move(config), engine);
        ASSERT_TRUE(fake->waitReady(5s));
    }
    void startCentral(bool install = true) {
        BlueZBleCentral::Options options;
        options.busAddress = daemon->address();
        central = BlueZBleCentral::make(options);
        if (install) BleBackend::install(central);
    }
    void openPrinter() {
        auto raw = OrvoDeviceManager::exclusiveOpenPort(InterfaceType::bluetoothLE, kAddress, 5000);
        port = PrinterPortFactory::create(raw, OrvoPrinterEmulation::kestrin, false);
        port->initialize(2000);
    }
    std::shared_ptr<BluetoothLEPrintPort> openedPort() {
        blePort = std::make_shared<BluetoothLEPrintPort>(kAddress);
        blePort->open(5000);
        return blePort;
    }

    std::shared_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<PrivateDBusDaemon> daemon;
    std::unique_ptr<FakeBlueZ> fake;
    std::shared_ptr<BlueZBleCentral> central;
    std::shared_ptr<PrinterPort> port;
    std::shared_ptr<BluetoothLEPrintPort> blePort;
};

}  // namespace

TEST_F(BlueZTest, TheAdapterPowerIsTheCentralsStateAndFollowsTheServiceComingAndGoing) {
    auto delegate = std::make_shared<RecordingCentralDelegate>();
    startCentral(false);
    central->setDelegate(delegate);
    // Nobody owns org.bluez on this bus yet.
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::unsupported; }));
    startFake();
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOn; }));
    fake->setPowered(false);
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOff; }));
    fake->setPowered(true);
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOn; }));
    fake.reset();
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::unsupported; }));
    std::lock_guard lock(delegate->mutex);
    EXPECT_EQ(delegate->states, (std::vector<BleManagerState>{BleManagerState::unsupported, BleManagerState::poweredOn,
                                                              BleManagerState::poweredOff, BleManagerState::poweredOn,
                                                              BleManagerState::unsupported}));
}

TEST_F(BlueZTest, AScanReportsEveryAdvertisementWithItsManufacturerDataNameAndSignal) {
    startFake();
    auto delegate = std::make_shared<RecordingCentralDelegate>();
    startCentral(false);
    central->setDelegate(delegate);
    ASSERT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOn; }));
    central->scan(std::nullopt, true);
    EXPECT_TRUE(central->isScanning());
    ASSERT_TRUE(eventually([&] { return delegate->foundCount() >= 3; }));
    {
        std::lock_guard lock(delegate->mutex);
        const auto& [peripheral, data, rssi] = delegate->found.back();
        EXPECT_EQ(peripheral->identifier(), kAddress);
        EXPECT_EQ(peripheral->name(), kModel);
        EXPECT_EQ(data.localName, kModel);
        ASSERT_TRUE(data.manufacturerData);
        EXPECT_EQ(hex(*data.manufacturerData), hex(advertisedPrintOnly(kAddress, kModel)));
        EXPECT_EQ(data.serviceUuids, std::vector<BleUuid>{"49535343-FE7D-4AE5-8FA9-9FAFD205E455"});
        EXPECT_EQ(rssi, -50);
        // One object per device, whatever the number of advertisements.
        for (const auto& entry : delegate->found) EXPECT_EQ(std::get<0>(entry), peripheral);
    }
    const auto filter = fake->discoveryFilter();
    EXPECT_EQ(filter, (std::vector<std::pair<std::string, std::string>>{{"Transport", "le"}, {"DuplicateData", "true"}}));

    central->stopScan();
    EXPECT_FALSE(central->isScanning());
    ASSERT_TRUE(eventually([&] { return !fake->isDiscovering(); }));
    const std::size_t seen = delegate->foundCount();
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(delegate->foundCount(), seen);
}

TEST_F(BlueZTest, AKestrinJobPrintsAsOverTheSimulatedStack) {
    // Over the simulated stack first, for the capture to compare with.
    std::string simulatedCapture;
    {
        auto simulatedEngine = makeEngine();
        auto simulated = SimulatedBleCentral::make();
        simulated->setAdvertisingInterval(5ms);
        SimulatedBlePeripheralConfig config;
        config.address = kAddress;
        config.name = kModel;
        config.localName = kModel;
        config.manufacturerData = advertisedPrintOnly(kAddress, kModel);
        auto peripheral = SimulatedBlePeripheral::make(config, simulatedEngine);
        simulated->addPeripheral(peripheral);
        BleBackend::install(simulated);
        openPrinter();
        OrvoPrinterControl(port, false, false, false).printLegacy(kJob, 5000);
        port->close();
        OrvoDeviceManager::releasePort(&port->rawPort());
        port.reset();
        peripheral->dropLink();
        simulatedCapture = settledCapture(*simulatedEngine);
        EXPECT_EQ(hex(simulatedEngine->printedData()), hex(kJob));
    }

    startFake();
    startCentral();
    openPrinter();
    OrvoPrinterControl(port, false, false, false).printLegacy(kJob, 5000);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_EQ(engine->state().etbCounter, 1);
    EXPECT_EQ(settledCapture(*engine), simulatedCapture);
    for (const auto& write : fake->writes()) EXPECT_EQ(write.type, "request");
    EXPECT_EQ(fake->connectCount(), 1u);
}

struct PairingCase {
    const char* name;
    const char* error;
    const char* message;
    bool notPaired;
};

class BlueZPairingTest : public BlueZTest, public ::testing::WithParamInterface<PairingCase> {};

TEST_P(BlueZPairingTest, ARefusedNotificationSwitchFailsTheOpenAndDisconnects) {
    startFake();
    fake->refusePairing(GetParam().error, GetParam().message);
    startCentral();
    const auto error = errorOf([&] { openedPort(); });
    ASSERT_TRUE(error);
    if (GetParam().notPaired) {
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(error->errorCode(), Prelix10ErrorCode::bluetoothLeDeviceIsNotPaired);
        EXPECT_EQ(static_cast<int>(error->errorCode()), 2003);
    } else {
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
        EXPECT_EQ(error->message(), "Open failed.");
    }
    EXPECT_FALSE(blePort->isConnected());
    EXPECT_TRUE(eventually([&] { return !fake->isConnected(); }));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BlueZPairingTest,
    ::testing::Values(PairingCase{"NotPermittedNotPaired", "org.bluez.Error.NotPermitted", "Not paired", true},
                      PairingCase{"NotAuthorized", "org.bluez.Error.NotAuthorized", "Operation Not Authorized", true},
                      PairingCase{"AttInsufficientAuthentication", "org.bluez.Error.Failed",
                                  "Operation failed with ATT error: 0x05", true},
                      PairingCase{"AttInsufficientEncryption", "org.bluez.Error.Failed",
                                  "Operation failed with ATT error: 0x0f", true},
                      PairingCase{"AttOtherError", "org.bluez.Error.Failed", "Operation failed with ATT error: 0x0e",
                                  false},
                      PairingCase{"NotAnAttError", "org.bluez.Error.InProgress", "In Progress", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BlueZTest, AServiceWithoutItsNotifyCharacteristicFailsTheOpenAndDisconnects) {
    auto config = printerConfig();
    config.missingNotifyCharacteristic = true;
    startFake(config);
    startCentral();
    const auto error = errorOf([&] { openedPort(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Open failed.");
    EXPECT_FALSE(blePort->isConnected());
    EXPECT_TRUE(eventually([&] { return !fake->isConnected(); }));
    EXPECT_EQ(fake->connectCount(), 1u);
}

TEST_F(BlueZTest, ADroppedLinkFailsTheNextWriteAndSendsNothing) {
    startFake();
    startCentral();
    auto opened = openedPort();
    ASSERT_TRUE(fake->isConnected());
    const std::size_t before = fake->writes().size();
    fake->dropConnection();
    const auto peripheral = opened->information()->peripheral;
    ASSERT_TRUE(eventually([&] { return peripheral->state() == BlePeripheralState::disconnected; }));
    const auto error = errorOf([&] { opened->write(bytesFromHex("1B 06 01"), 1000); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Write failed.");
    EXPECT_EQ(fake->writes().size(), before);
}

TEST_F(BlueZTest, ASlowWriteReplyTimesTheWriteOutOrIsWaitedFor) {
    startFake();
    startCentral();
    auto opened = openedPort();
    fake->setWriteReplyDelay(300ms);
    const auto error = errorOf([&] { opened->write(bytesFromHex("1B 06 01"), 100); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Write failed.");
    // The late reply of the first write must not answer the second one.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(errorOf([&] { opened->write(bytesFromHex("1B 06 01"), 3000); }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms);
}

TEST_F(BlueZTest, WritesWithoutResponseAreCommandsCutAtTheReportedMtuAndNeverPastTheLongestAttribute) {
    struct Case {
        int mtu;
        std::size_t chunk;
    };
    // 103 leaves 100 bytes of payload; 517, the largest MTU, would leave 514, past the 512 of any attribute.
    for (const auto c : {Case{103, 100}, Case{517, 512}}) {
        SCOPED_TRACE(c.mtu);
        auto config = printerConfig();
        config.mtu = c.mtu;
        startFake(config);
        startCentral();
        auto opened = openedPort();
        EXPECT_EQ(opened->mtu(), 512);
        opened->setWriteType(BleWriteType::withoutResponse);
        EXPECT_EQ(opened->mtu(), static_cast<int>(c.chunk));
        const std::size_t before = fake->writes().size();
        opened->write(ByteBlock(c.chunk * 2 + 50, 0x20), 3000);
        ASSERT_TRUE(eventually([&] { return fake->writes().size() >= before + 3; }));
        const auto writes = fake->writes();
        ASSERT_EQ(writes.size(), before + 3);
        EXPECT_EQ(writes[before].bytes.size(), c.chunk);
        EXPECT_EQ(writes[before + 1].bytes.size(), c.chunk);
        EXPECT_EQ(writes[before + 2].bytes.size(), 50u);
        for (std::size_t i = before; i < writes.size(); ++i) EXPECT_EQ(writes[i].type, "command");
        startOver();
    }
}

TEST_F(BlueZTest, SignalsForgedByAnotherClientChangeNothing) {
    startFake();
    startCentral();
    auto opened = openedPort();
    const std::string adapter = "/org/bluez/hci0";
    const std::string device = adapter + "/dev_00_11_62_AA_BB_CC";
    const std::string notify = device + "/service0010/char0013";
    Stranger stranger(daemon->address());
    // Bytes planted in the read buffer, the adapter switched off or removed, the link dropped, BlueZ gone.
    stranger.forge(notify, "org.freedesktop.DBus.Properties", "PropertiesChanged", [](sd_bus_message* m) {
        const std::uint8_t evil[] = {'E', 'V', 'I', 'L'};
        int r = sd_bus_message_append(m, "s", "org.bluez.GattCharacteristic1");
        if (r >= 0)
            r = appendProperty(
                m, "Value", [&](sd_bus_message* v) { return sd_bus_message_append_array(v, 'y', evil, 4); },
                "ay");
        if (r >= 0) r = sd_bus_message_append(m, "as", 0);
        return r;
    });
    stranger.forge(adapter, "org.freedesktop.DBus.Properties", "PropertiesChanged", [](sd_bus_message* m) {
        int r = sd_bus_message_append(m, "s", "org.bluez.Adapter1");
        if (r >= 0)
            r = appendProperty(
                m, "Powered", [](sd_bus_message* v) { return sd_bus_message_append(v, "b", 0); }, "b");
        if (r >= 0) r = sd_bus_message_append(m, "as", 0);
        return r;
    });
    stranger.forge("/", "org.freedesktop.DBus.ObjectManager", "InterfacesAdded", [&](sd_bus_message* m) {
        int r = sd_bus_message_append(m, "o", device.c_str());
        if (r >= 0) r = sd_bus_message_open_container(m, 'a', "{sa{sv}}");
        if (r >= 0) r = sd_bus_message_open_container(m, 'e', "sa{sv}");
        if (r >= 0) r = sd_bus_message_append(m, "s", "org.bluez.Device1");
        if (r >= 0)
            r = appendProperty(
                m, "Connected", [](sd_bus_message* v) { return sd_bus_message_append(v, "b", 0); }, "b");
        if (r >= 0) r = sd_bus_message_close_container(m);
        if (r >= 0) r = sd_bus_message_close_container(m);
        return r;
    });
    stranger.forge("/", "org.freedesktop.DBus.ObjectManager", "InterfacesRemoved", [&](sd_bus_message* m) {
        int r = sd_bus_message_append(m, "o", device.c_str());
        if (r >= 0) r = sd_bus_message_append(m, "as", 1, "org.bluez.Device1");
        return r;
    });
    stranger.forge(
        "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameOwnerChanged",
        [](sd_bus_message* m) { return sd_bus_message_append(m, "sss", "org.bluez", ":1.1", ""); });
    stranger.settle();
    // A write's reply comes behind the forged signals, so they have all been handled once it returns.
    EXPECT_FALSE(errorOf([&] { opened->write(bytesFromHex("1B 40"), 3000); }));
    EXPECT_EQ(central->state(), BleManagerState::poweredOn);
    EXPECT_EQ(opened->information()->peripheral->state(), BlePeripheralState::connected);
    EXPECT_EQ(hex(opened->readOnce(100)).find("4556494C"), std::string::npos) << "forged bytes were read";
    EXPECT_FALSE(errorOf([&] { opened->write(bytesFromHex("1B 40"), 3000); }));
    EXPECT_TRUE(fake->isConnected());
}

TEST_F(BlueZTest, ALateErrorReplyOfAClosedLinkNeverFailsTheNextLinksWrite) {
    startFake();
    startCentral();
    auto opened = openedPort();
    // The reply comes when the link is gone: BlueZ then fails the write.
    fake->setWriteReplyDelay(700ms);
    ASSERT_TRUE(errorOf([&] { opened->write(bytesFromHex("1B 40"), 100); }));
    opened->close();
    opened->open(5000);
    fake->setWriteReplyDelay(1200ms);
    // The old link's error reply arrives while this write waits for its own reply.
    EXPECT_FALSE(errorOf([&] { opened->write(bytesFromHex("1B 40"), 5000); }));
}

TEST_F(BlueZTest, ADeviceBlueZRemovesIsForgottenUnlessSomethingHoldsIt) {
    startFake();
    auto delegate = std::make_shared<RecordingCentralDelegate>();
    startCentral(false);
    central->setDelegate(delegate);
    ASSERT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOn; }));
    const auto discover = [&]() -> std::shared_ptr<BlePeripheral> {
        {
            std::lock_guard lock(delegate->mutex);
            delegate->found.clear();
        }
        central->scan(std::nullopt, true);
        EXPECT_TRUE(eventually([&] { return delegate->foundCount() >= 1; }));
        central->stopScan();
        EXPECT_TRUE(eventually([&] { return !fake->isDiscovering(); }));
        std::lock_guard lock(delegate->mutex);
        auto found = delegate->found.empty() ? nullptr : std::get<0>(delegate->found.front());
        delegate->found.clear();
        return found;
    };

    // Held across the removal: the same object when it comes back.
    auto held = discover();
    ASSERT_TRUE(held);
    fake->removeDevice();
    EXPECT_EQ(discover(), held);

    // Held by nobody: gone with BlueZ's object.
    std::weak_ptr<BlePeripheral> seen = held;
    held.reset();
    fake->removeDevice();
    EXPECT_TRUE(eventually([&] { return seen.expired(); })) << "the device table kept a removed device";
}

TEST_F(BlueZTest, TheCentralComesBackAfterTheBusRestarts) {
    startFake();
    startCentral();
    ASSERT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOn; }));
    ASSERT_TRUE(daemon->restart());
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::unsupported; }));
    fake.reset();
    startFake();
    EXPECT_TRUE(eventually([&] { return central->state() == BleManagerState::poweredOn; }, 15s));
    // Fully back: a printer opens and takes a write.
    auto opened = openedPort();
    EXPECT_FALSE(errorOf([&] { opened->write(bytesFromHex("1B 40"), 3000); }));
}

struct RefusalCase {
    const char* name;
    const char* error;
    const char* message;
    bool retried;
    const char* expected;
};

class BlueZConnectRefusalTest : public BlueZTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(BlueZConnectRefusalTest, EachRefusalIsLoggedAndOnlyThoseRetryingCanMendAreRetried) {
    const auto& c = GetParam();
    startFake();
    startCentral();
    // Found first, so that the budget below is the connect's alone.
    blePort = std::make_shared<BluetoothLEPrintPort>(kAddress);
    blePort->findDevice(5000);
    fake->refuseConnect(c.error, c.message);
    auto sink = std::make_shared<CapturingSink>();
    auto previous = OrvoLoggerWrapper::sink();
    const bool wasLogging = Prelix10Logger::shared().isLogging();
    OrvoLoggerWrapper::setSink(sink);
    Prelix10Logger::shared().start();
    std::optional<Prelix10Error> error;
    const auto start = std::chrono::steady_clock::now();
    error = errorOf([&] { blePort->open(1000); });
    const auto waited = std::chrono::steady_clock::now() - start;
    Prelix10Logger::shared().setIsLogging(wasLogging);
    OrvoLoggerWrapper::setSink(previous);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), c.expected);
    const std::size_t refusals = sink->count("Error - connect refused: ", c.message);
    if (c.retried) {
        EXPECT_GE(waited, 900ms);
        EXPECT_GE(fake->connectAttempts(), 3u);
        EXPECT_EQ(refusals, fake->connectAttempts());
    } else {
        EXPECT_LT(waited, 700ms) << "an error no retry mends took the whole budget";
        EXPECT_EQ(fake->connectAttempts(), 1u);
        EXPECT_EQ(refusals, 1u);
    }
    EXPECT_FALSE(blePort->isConnected());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BlueZConnectRefusalTest,
    ::testing::Values(
        RefusalCase{"OutOfReach", "org.bluez.Error.Failed", "le-connection-abort-by-local", true,
                    "Open failed."},
        RefusalCase{
            "NotPaired", "org.bluez.Error.AuthenticationFailed", "Authentication Failed", false,
            "Bluetooth LE device is not paired. Please complete the pairing process before trying again."},
        RefusalCase{"AdapterNotReady", "org.bluez.Error.NotReady", "Resource Not Ready", false,
                    "Bluetooth unavailable."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BlueZTest, ACentralReleasedInsideItsOwnCallbackEndsCleanly) {
    startFake();
    auto delegate = std::make_shared<RecordingCentralDelegate>();
    startCentral(false);
    std::atomic<bool> released{false};
    auto held = std::make_shared<std::shared_ptr<BlueZBleCentral>>(central);
    central.reset();
    (*held)->setDelegate(delegate);
    delegate->onDiscover = [held, &released] {
        if (!*held) return;
        held->reset();
        released = true;
    };
    ASSERT_TRUE(eventually([&] { return *held && (*held)->state() == BleManagerState::poweredOn; }));
    (*held)->scan(std::nullopt, true);
    EXPECT_TRUE(eventually([&] { return released.load(); }));
    // Nothing more arrives from the released central.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(delegate->foundCount(), 1u);
}
