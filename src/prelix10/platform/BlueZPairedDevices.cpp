#include "prelix10/platform/BlueZPairedDevices.hpp"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <cstring>
#include <optional>

#include "prelix10/platform/DBusConnection.hpp"

namespace Prelix10 {

namespace {

constexpr const char* kDevice = "org.bluez.Device1";
// A connection that could not be made is tried again no sooner than this, so that a machine without a bus
// is not asked on every re-scan.
constexpr std::chrono::milliseconds kRetryInterval{2000};
// What the caller waits beyond the call's own timeout, for the connection's thread to hand the reply over.
constexpr std::chrono::milliseconds kHandOver{500};
constexpr std::chrono::milliseconds kLongestTimeout{60000};
// The longest name a Bluetooth device can report.
constexpr std::size_t kLongestName = 248;
constexpr std::size_t kLongestAddress = 64;

bool isSerialPortUuid(const char* text) {
    const std::size_t size = std::strlen(text);
    const char* wanted = BluetoothSerialOptions::kSerialPortUuid;
    if (size != std::strlen(wanted)) return false;
    for (std::size_t i = 0; i < size; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != wanted[i]) return false;
    }
    return true;
}

struct DeviceProperties {
    std::optional<std::string> address, name, alias;
    std::optional<bool> paired;
    bool serialPort = false;
};

int readText(sd_bus_message* m, std::optional<std::string>& out, std::size_t longest) {
    const char* text = nullptr;
    const int r = sd_bus_message_read(m, "s", &text);
    if (r < 0) return r;
    std::string value = text ? text : "";
    if (value.size() > longest) value.resize(longest);
    out = std::move(value);
    return r;
}

int readSerialPort(sd_bus_message* m, bool& out) {
    int r = sd_bus_message_enter_container(m, 'a', "s");
    if (r < 0) return r;
    const char* text = nullptr;
    while ((r = sd_bus_message_read(m, "s", &text)) > 0) {
        if (text && isSerialPortUuid(text)) out = true;
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

// One property of a{sv}: read when its key and type are the expected ones, skipped otherwise.
int readProperty(sd_bus_message* m, DeviceProperties& p) {
    const char* key = nullptr;
    int r = sd_bus_message_read(m, "s", &key);
    if (r < 0) return r;
    char type = 0;
    const char* contents = nullptr;
    if ((r = sd_bus_message_peek_type(m, &type, &contents)) < 0) return r;
    if (type != 'v' || !contents || !key) return -EBADMSG;
    const std::string name = key;
    const std::string signature = contents;
    const bool text = signature == "s" && (name == "Address" || name == "Name" || name == "Alias");
    const bool flag = signature == "b" && name == "Paired";
    const bool list = signature == "as" && name == "UUIDs";
    if (!text && !flag && !list) return sd_bus_message_skip(m, "v");
    if ((r = sd_bus_message_enter_container(m, 'v', contents)) < 0) return r;
    if (name == "Address") {
        r = readText(m, p.address, kLongestAddress);
    } else if (name == "Name") {
        r = readText(m, p.name, kLongestName);
    } else if (name == "Alias") {
        r = readText(m, p.alias, kLongestName);
    } else if (flag) {
        int value = 0;
        r = sd_bus_message_read(m, "b", &value);
        if (r >= 0) p.paired = value != 0;
    } else {
        r = readSerialPort(m, p.serialPort);
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

int readProperties(sd_bus_message* m, DeviceProperties& p) {
    int r = sd_bus_message_enter_container(m, 'a', "{sv}");
    if (r < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        if ((r = readProperty(m, p)) < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

// The interfaces of one object (a{sa{sv}}); the device's properties when it has org.bluez.Device1.
int readObject(sd_bus_message* m, std::optional<DeviceProperties>& device) {
    int r = sd_bus_message_enter_container(m, 'a', "{sa{sv}}");
    if (r < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'e', "sa{sv}")) > 0) {
        const char* interface = nullptr;
        if ((r = sd_bus_message_read(m, "s", &interface)) < 0) return r;
        if (interface && std::strcmp(interface, kDevice) == 0 && !device) {
            device.emplace();
            r = readProperties(m, *device);
        } else {
            r = sd_bus_message_skip(m, "a{sv}");
        }
        if (r < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

}  // namespace

std::vector<PairedBluetoothDevice> BlueZPairedDevices::fromManagedObjects(sd_bus_message* reply) {
    std::vector<PairedBluetoothDevice> devices;
    if (!reply || sd_bus_message_is_method_error(reply, nullptr)) return devices;
    int r = sd_bus_message_enter_container(reply, 'a', "{oa{sa{sv}}}");
    while (r > 0 && devices.size() < kMaxDevices && (r = sd_bus_message_enter_container(reply, 'e', "oa{sa{sv}}")) > 0) {
        const char* path = nullptr;
        if ((r = sd_bus_message_read(reply, "o", &path)) < 0) break;
        std::optional<DeviceProperties> device;
        // An object that cannot be read ends the list there: what follows it cannot be found.
        if ((r = readObject(reply, device)) < 0) break;
        if ((r = sd_bus_message_exit_container(reply)) < 0) break;
        if (!device || !device->paired.value_or(false) || !device->serialPort) continue;
        if (!device->address || device->address->empty()) continue;
        PairedBluetoothDevice out;
        out.address = *device->address;
        out.name = device->name && !device->name->empty() ? *device->name : device->alias.value_or("");
        out.paired = true;
        out.uuids = {BluetoothSerialOptions::kSerialPortUuid};
        devices.push_back(std::move(out));
    }
    return devices;
}

struct BlueZPairedDevices::Query {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<std::vector<PairedBluetoothDevice>> result;

    void finish(std::vector<PairedBluetoothDevice> devices) {
        std::lock_guard lock(mutex);
        if (result) return;
        result = std::move(devices);
        done.notify_all();
    }
};

namespace {

// Ends the query with no devices when the work or the reply handler it rides with is dropped unanswered
// (the connection closed first).
template <typename Q>
struct Answer {
    std::shared_ptr<Q> query;
    ~Answer() { query->finish({}); }
};

}  // namespace

BlueZPairedDevices::BlueZPairedDevices(std::string busAddress, std::chrono::milliseconds timeout)
    : address_(busAddress.empty() ? DBusConnection::systemBusAddress() : std::move(busAddress)),
      timeout_(std::clamp(timeout, std::chrono::milliseconds(1), kLongestTimeout)) {}

BlueZPairedDevices::~BlueZPairedDevices() {
    std::lock_guard lock(mutex_);
    connection_.reset();
}

std::vector<PairedBluetoothDevice> BlueZPairedDevices::list() {
    std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (connection_ && lost_->load()) {
        if (now - lastAttempt_ < kRetryInterval) return {};
        connection_.reset();
    }
    if (!connection_) {
        lastAttempt_ = now;
        lost_ = std::make_shared<std::atomic<bool>>(false);
        connection_ = std::make_unique<DBusConnection>(address_, [lost = lost_](int) { lost->store(true); });
    }
    auto query = std::make_shared<Query>();
    std::shared_ptr<Answer<Query>> answer(new Answer<Query>{query});
    DBusConnection* connection = connection_.get();
    const auto timeout = timeout_;
    connection->post([connection, answer, timeout](sd_bus* bus) {
        if (!bus) return;
        sd_bus_message* call = nullptr;
        if (sd_bus_message_new_method_call(bus, &call, "org.bluez", "/", "org.freedesktop.DBus.ObjectManager",
                                           "GetManagedObjects") < 0) {
            return;
        }
        connection->callAsync(call, timeout, [answer](sd_bus_message* reply) {
            answer->query->finish(fromManagedObjects(reply));
        });
        sd_bus_message_unref(call);
    });
    answer.reset();
    std::unique_lock wait(query->mutex);
    query->done.wait_for(wait, timeout_ + kHandOver, [&] { return query->result.has_value(); });
    return query->result ? std::move(*query->result) : std::vector<PairedBluetoothDevice>{};
}

}  // namespace Prelix10
