// The paired Bluetooth serial devices as BlueZ lists them, against a fake BlueZ on a private dbus-daemon that
// each test starts (never the machine's own buses), and the reply parser against hand-made replies.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/discovery/EAAccessoryOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/BlueZPairedDevices.hpp"
#include "prelix10/platform/SystemAccessoryBackend.hpp"
#include "prelix10/transport/EAAccessoryPortSettings.hpp"
#include "support/FakeBlueZ.hpp"
#include "support/PrivateDBusDaemon.hpp"
#include "support/VirtualPrinterEngine.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const std::string kSerial = "00001101-0000-1000-8000-00805f9b34fb";
const std::string kAudioSink = "0000110b-0000-1000-8000-00805f9b34fb";

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

std::vector<std::string> described(std::vector<PairedBluetoothDevice> devices) {
    std::vector<std::string> out;
    for (const auto& d : devices) out.push_back(d.address + " " + d.name + (d.paired ? "" : " unpaired"));
    std::sort(out.begin(), out.end());
    return out;
}

class Recorder final : public AccessoryManagerObserver {
public:
    void accessoryDidConnect(const std::shared_ptr<Accessory>& a) override { add("+" + a->serialNumber()); }
    void accessoryDidDisconnect(const std::shared_ptr<Accessory>& a) override { add("-" + a->serialNumber()); }
    std::vector<std::string> seen() {
        std::lock_guard lock(mutex);
        return events;
    }

private:
    void add(std::string event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
    }
    std::mutex mutex;
    std::vector<std::string> events;
};

// The number in the unique name a new client gets from the bus (":1.N"): the daemon counts every connection.
long nextConnectionNumber(const std::string& address) {
    sd_bus* bus = nullptr;
    long number = -1;
    if (sd_bus_new(&bus) >= 0 && sd_bus_set_address(bus, address.c_str()) >= 0 && sd_bus_set_bus_client(bus, 1) >= 0 &&
        sd_bus_start(bus) >= 0) {
        const char* name = nullptr;
        if (sd_bus_get_unique_name(bus, &name) >= 0 && name) {
            const std::string text = name;
            number = std::stol(text.substr(text.find('.') + 1));
        }
    }
    if (bus) {
        sd_bus_close(bus);
        sd_bus_unref(bus);
    }
    return number;
}

class BlueZPairedDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateDBusDaemon::available()) GTEST_SKIP() << "dbus-daemon is not installed";
        daemon = std::make_unique<PrivateDBusDaemon>();
        ASSERT_FALSE(daemon->address().empty()) << "the private bus did not start";
        fake = std::make_unique<FakeBlueZ>(daemon->address(), FakeBlueZConfig{}, std::make_shared<VirtualPrinterEngine>());
        ASSERT_TRUE(fake->waitReady(5s));
    }
    void TearDown() override {
        AccessoryBackend::install(nullptr);
        fake.reset();
        daemon.reset();
    }

    std::unique_ptr<PrivateDBusDaemon> daemon;
    std::unique_ptr<FakeBlueZ> fake;
};

TEST_F(BlueZPairedDevicesTest, ListsExactlyThePairedSerialPortDevicesAndSkipsOddlyTypedProperties) {
    const std::vector<FakeBlueZClassicDevice> devices = {
        {"00:11:62:00:00:01", "Rovan20", "Rovan20", true, {"0000110A-0000-1000-8000-00805F9B34FB",
                                                           "00001101-0000-1000-8000-00805F9B34FB"}, ""},
        {"00:11:62:00:00:02", "Headset", "Headset", true, {kAudioSink}, ""},
        {"00:11:62:00:00:03", "Rovan21", "Rovan21", false, {kSerial}, ""},
        // No name told: BlueZ leaves Name out and the alias stands in.
        {"00:11:62:00:00:04", "", "Telva72", true, {kSerial}, ""},
        {"00:11:62:00:00:05", "Rovan22", "Alias22", true, {kSerial}, "Name"},
        {"00:11:62:00:00:06", "Rovan23", "Rovan23", true, {kSerial}, "Paired"},
        {"00:11:62:00:00:07", "Rovan24", "Rovan24", true, {kSerial}, "UUIDs"},
        {"00:11:62:00:00:08", "Rovan25", "Rovan25", true, {kSerial}, "Address"},
        {"00:11:62:00:00:09", "Rovan26", "Rovan26", true, {}, ""},
    };
    for (const auto& device : devices) fake->addClassicDevice(device);

    BlueZPairedDevices bluez(daemon->address());
    const auto listed = bluez.list();
    EXPECT_EQ(described(listed), (std::vector<std::string>{"00:11:62:00:00:01 Rovan20", "00:11:62:00:00:04 Telva72",
                                                           "00:11:62:00:00:05 Alias22"}));
    for (const auto& device : listed) {
        EXPECT_EQ(device.uuids, std::vector<std::string>{kSerial});
        EXPECT_FALSE(device.channel.has_value());
        EXPECT_TRUE(device.terminalPath.empty());
    }
}

TEST_F(BlueZPairedDevicesTest, PairingLaterReachesTheAccessoryObserverWithinASecondOverOneConnection) {
    fake->addClassicDevice({"00:11:62:00:00:01", "Rovan20", "Rovan20", false, {kSerial}, ""});
    std::mutex mutex;
    std::vector<std::string> connects;
    SystemAccessoryOptions options;
    options.bluetooth.blueZBusAddress = daemon->address();
    options.bluetooth.manufacturer = EAAccessoryPortSettings::kManufacturerName;
    options.bluetooth.connectSocket = [&](const std::string& address, int channel) {
        std::lock_guard lock(mutex);
        connects.push_back(address + "#" + std::to_string(channel));
        return -1;
    };
    auto manager = makeSystemAccessoryManager(AccessoryBackendChoice::bluetoothSerial, options);
    ASSERT_NE(manager, nullptr);
    auto recorder = std::make_shared<Recorder>();
    manager->setObserver(recorder);
    EXPECT_TRUE(manager->connectedAccessories().empty());
    const long before = nextConnectionNumber(daemon->address());

    fake->setPaired("00:11:62:00:00:01", true);
    EXPECT_TRUE(eventually([&] { return recorder->seen().size() == 1; }, 1000ms));
    ASSERT_EQ(manager->connectedAccessories().size(), 1u);
    const auto accessory = manager->connectedAccessories().front();
    EXPECT_EQ(accessory->serialNumber(), "00:11:62:00:00:01");
    EXPECT_EQ(accessory->modelNumber(), "Rovan20");
    EXPECT_EQ(accessory->transportType(), EAAccessoryType::bluetooth);
    // The accessory discovery takes it as the maker's printer.
    AccessoryBackend::install(manager);
    EXPECT_EQ(EAAccessoryOrvoDeviceDiscoveryManager::listConnectedAccessories().size(), 1u);
    // No session without a connection; the channel is the default one, BlueZ telling none.
    EXPECT_EQ(manager->openSession(accessory, EAAccessoryPortSettings::kProtocolString), nullptr);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(connects, std::vector<std::string>{"00:11:62:00:00:01#1"});
    }

    fake->setPaired("00:11:62:00:00:01", false);
    EXPECT_TRUE(eventually([&] { return recorder->seen().size() == 2; }, 1000ms));
    EXPECT_EQ(recorder->seen(), (std::vector<std::string>{"+00:11:62:00:00:01", "-00:11:62:00:00:01"}));

    // Several re-scans went by, all on the one connection made at the first: the only client the bus saw
    // since is the probe itself.
    const std::size_t calls = fake->managedObjectsCalls();
    EXPECT_TRUE(eventually([&] { return fake->managedObjectsCalls() >= calls + 2; }, 2000ms));
    EXPECT_EQ(nextConnectionNumber(daemon->address()), before + 1);
}

TEST_F(BlueZPairedDevicesTest, AnUnansweredErrorOrMalformedReplyGivesNoDevicesWithinTheBound) {
    fake->addClassicDevice({"00:11:62:00:00:01", "Rovan20", "Rovan20", true, {kSerial}, ""});
    BlueZPairedDevices bluez(daemon->address(), 300ms);
    ASSERT_EQ(bluez.list().size(), 1u);
    for (const auto reply : {FakeBlueZObjectsReply::never, FakeBlueZObjectsReply::accessDenied,
                             FakeBlueZObjectsReply::wrongSignature}) {
        SCOPED_TRACE(static_cast<int>(reply));
        fake->setManagedObjectsReply(reply);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(bluez.list().empty());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    }
    // BlueZ answers again: the same connection serves.
    fake->setManagedObjectsReply(FakeBlueZObjectsReply::normal);
    EXPECT_EQ(bluez.list().size(), 1u);
}

TEST_F(BlueZPairedDevicesTest, ABackendOverAHungBlueZIsMadeAndDroppedWithinTheBound) {
    fake->setManagedObjectsReply(FakeBlueZObjectsReply::never);
    SystemAccessoryOptions options;
    options.bluetooth.blueZBusAddress = daemon->address();
    options.rescanInterval = 100ms;
    auto start = std::chrono::steady_clock::now();
    auto manager = makeSystemAccessoryManager(AccessoryBackendChoice::bluetoothSerial, options);
    EXPECT_LT(std::chrono::steady_clock::now() - start, BlueZPairedDevices::kDefaultTimeout + 1000ms);
    EXPECT_TRUE(manager->connectedAccessories().empty());
    // Dropped while a re-scan waits for its reply.
    EXPECT_TRUE(eventually([&] { return fake->managedObjectsCalls() >= 2; }, 1000ms));
    start = std::chrono::steady_clock::now();
    manager.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, BlueZPairedDevices::kDefaultTimeout + 1000ms);
}

TEST_F(BlueZPairedDevicesTest, NoBusOrNoBlueZGivesNoDevicesAtOnce) {
    fake.reset();
    const std::vector<std::string> addresses = {daemon->address(), "unix:path=/nonexistent/prelix10/bus"};
    for (const auto& address : addresses) {
        SCOPED_TRACE(address);
        BlueZPairedDevices bluez(address);
        for (int pass = 0; pass < 2; ++pass) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_TRUE(bluez.list().empty());
            EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
        }
    }
}

// Replies made by hand, on a bus of a socket pair that never gets past its handshake: nothing is sent.
class ManagedObjectsReplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        ASSERT_GE(sd_bus_new(&bus), 0);
        ASSERT_GE(sd_bus_set_fd(bus, fds[0], fds[0]), 0);
        ASSERT_GE(sd_bus_start(bus), 0);
    }
    void TearDown() override {
        if (bus) {
            sd_bus_close(bus);
            sd_bus_unref(bus);
        }
        ::close(fds[1]);
    }

    // The devices parsed from a message whose body the function appends.
    std::vector<PairedBluetoothDevice> parse(const std::function<void(sd_bus_message*)>& body) {
        sd_bus_message* m = nullptr;
        EXPECT_GE(sd_bus_message_new_signal(bus, &m, "/", "org.example.Test", "Reply"), 0);
        body(m);
        EXPECT_GE(sd_bus_message_seal(m, 1, 0), 0);
        EXPECT_GE(sd_bus_message_rewind(m, 1), 0);
        auto devices = BlueZPairedDevices::fromManagedObjects(m);
        sd_bus_message_unref(m);
        return devices;
    }

    sd_bus* bus = nullptr;
    int fds[2] = {-1, -1};
};

// One object with Device1 whose properties the function appends inside a{sv}.
void appendDevice(sd_bus_message* m, const std::string& path, const std::function<void(sd_bus_message*)>& properties) {
    sd_bus_message_open_container(m, 'e', "oa{sa{sv}}");
    sd_bus_message_append(m, "o", path.c_str());
    sd_bus_message_open_container(m, 'a', "{sa{sv}}");
    sd_bus_message_append(m, "{sa{sv}}", "org.freedesktop.DBus.Introspectable", 0);
    sd_bus_message_open_container(m, 'e', "sa{sv}");
    sd_bus_message_append(m, "s", "org.bluez.Device1");
    sd_bus_message_open_container(m, 'a', "{sv}");
    properties(m);
    sd_bus_message_close_container(m);
    sd_bus_message_close_container(m);
    sd_bus_message_close_container(m);
    sd_bus_message_close_container(m);
}

void appendGood(sd_bus_message* m, const char* address) {
    sd_bus_message_append(m, "{sv}", "Address", "s", address);
    sd_bus_message_append(m, "{sv}", "Paired", "b", 1);
    sd_bus_message_append(m, "{sv}", "UUIDs", "as", 1, kSerial.c_str());
}

TEST_F(ManagedObjectsReplyTest, AHugeListIsCutAndOddValuesAreSkipped) {
    const auto many = parse([](sd_bus_message* m) {
        sd_bus_message_open_container(m, 'a', "{oa{sa{sv}}}");
        for (int i = 0; i < 300; ++i) {
            appendDevice(m, "/org/bluez/hci0/dev_" + std::to_string(i), [](sd_bus_message* p) {
                appendGood(p, "00:11:62:00:00:01");
            });
        }
        sd_bus_message_close_container(m);
    });
    EXPECT_EQ(many.size(), BlueZPairedDevices::kMaxDevices);

    const auto odd = parse([](sd_bus_message* m) {
        sd_bus_message_open_container(m, 'a', "{oa{sa{sv}}}");
        appendDevice(m, "/a", [](sd_bus_message* p) {
            appendGood(p, "00:11:62:00:00:01");
            // A variant inside the variant, a name far too long, and UUIDs as bytes: skipped or cut.
            sd_bus_message_append(p, "{sv}", "Paired", "v", "b", 0);
            sd_bus_message_append(p, "{sv}", "Name", "s", std::string(1000, 'n').c_str());
            sd_bus_message_append(p, "{sv}", "UUIDs", "ay", 3, 1, 2, 3);
        });
        appendDevice(m, "/b", [](sd_bus_message* p) {
            sd_bus_message_append(p, "{sv}", "Address", "s", "00:11:62:00:00:02");
            sd_bus_message_append(p, "{sv}", "Paired", "b", 1);
            sd_bus_message_append(p, "{sv}", "UUIDs", "a(ss)", 1, kSerial.c_str(), kSerial.c_str());
        });
        sd_bus_message_close_container(m);
    });
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].address, "00:11:62:00:00:01");
    EXPECT_EQ(odd[0].name.size(), 248u);

    EXPECT_TRUE(parse([](sd_bus_message* m) { sd_bus_message_append(m, "a{sv}", 1, "Paired", "b", 1); }).empty());
    EXPECT_TRUE(parse([](sd_bus_message*) {}).empty());
}

}  // namespace
