// What BlueZ sends the Bluetooth LE central, over arbitrary shapes: the first byte picks the message (the
// GetManagedObjects reply, or the InterfacesAdded, InterfacesRemoved or PropertiesChanged signal), the rest
// is a recipe for its body (containers of the expected and of stray signatures, interface and property names,
// paths, values of every type the reader meets). The message is built on a bus of a socket pair that never
// gets past its handshake, so nothing is sent. Whatever the reader keeps must follow from the message.
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "prelix10/platform/BlueZObjects.hpp"

using namespace Prelix10;

namespace {

constexpr const char* kArrays[] = {"{oa{sa{sv}}}", "{sa{sv}}", "{sv}", "s", "y", "{qv}", "(ss)"};
constexpr const char* kEntries[] = {"oa{sa{sv}}", "sa{sv}", "sv", "qv", "ss"};
constexpr const char* kVariants[] = {"s", "b", "as", "ay", "n", "q", "a{qv}", "o", "v", "u", "a{sv}"};
constexpr const char* kWords[] = {"org.bluez.Adapter1",
                                  "org.bluez.Device1",
                                  "org.bluez.GattService1",
                                  "org.bluez.GattCharacteristic1",
                                  "Powered",
                                  "Connected",
                                  "ServicesResolved",
                                  "Address",
                                  "Name",
                                  "Alias",
                                  "UUID",
                                  "Device",
                                  "Service",
                                  "Adapter",
                                  "RSSI",
                                  "MTU",
                                  "Value",
                                  "UUIDs",
                                  "ManufacturerData",
                                  "49535343-fe7d-4ae5-8fa9-9fafd205e455",
                                  ""};
constexpr const char* kPaths[] = {"/", "/org/bluez/hci0", "/org/bluez/hci0/dev_00_11_62_AA_BB_CC",
                                  "/org/bluez/hci0/dev_00_11_62_AA_BB_CC/service0010/char0013"};

template <std::size_t N>
const char* pick(const char* const (&table)[N], std::uint8_t byte) {
    return table[byte % N];
}

struct Bus {
    int fds[2] = {-1, -1};
    sd_bus* bus = nullptr;
    Bus() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) std::abort();
        if (sd_bus_new(&bus) < 0 || sd_bus_set_fd(bus, fds[0], fds[0]) < 0 || sd_bus_start(bus) < 0)
            std::abort();
    }
};

bool upperCase(const std::string& text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

void check(const BlueZProperties& p, std::size_t size) {
    if (p.uuid && !upperCase(*p.uuid)) std::abort();
    if (p.uuids) {
        if (p.uuids->size() > size) std::abort();
        for (const auto& u : *p.uuids) {
            if (!upperCase(u)) std::abort();
        }
    }
    if (p.manufacturerData && (p.manufacturerData->size() < 2 || p.manufacturerData->size() > size + 2))
        std::abort();
    if (p.value && p.value->size() > size) std::abort();
    if (p.rssi && (*p.rssi < -32768 || *p.rssi > 32767)) std::abort();
    if (p.mtu && (*p.mtu < 0 || *p.mtu > 65535)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Bus bus;
    if (size == 0) return 0;
    const std::uint8_t kind = data[0] % 4;
    std::size_t at = 1;
    auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    sd_bus_message* m = nullptr;
    const char* members[] = {"Reply", "InterfacesAdded", "InterfacesRemoved", "PropertiesChanged"};
    if (sd_bus_message_new_signal(bus.bus, &m, pick(kPaths, next()), "org.example.Fuzz", members[kind]) < 0) {
        std::abort();
    }
    int depth = 0;
    while (at < size) {
        const std::uint8_t op = next();
        const std::uint8_t arg = next();
        int r = 0;
        switch (op % 13) {
            case 0:
                r = sd_bus_message_open_container(m, 'a', pick(kArrays, arg));
                break;
            case 1:
                r = sd_bus_message_open_container(m, 'e', pick(kEntries, arg));
                break;
            case 2:
                r = sd_bus_message_open_container(m, 'v', pick(kVariants, arg));
                break;
            case 3:
                r = depth > 0 ? sd_bus_message_close_container(m) : -1;
                break;
            case 4:
                r = sd_bus_message_append(m, "s", pick(kWords, arg));
                break;
            case 5:
                r = sd_bus_message_append(m, "o", pick(kPaths, arg));
                break;
            case 6:
                r = sd_bus_message_append(m, "b", arg & 1);
                break;
            case 7:
                r = sd_bus_message_append(m, "n", static_cast<std::int16_t>((arg << 8) | next()));
                break;
            case 8:
                r = sd_bus_message_append(m, "q", static_cast<std::uint16_t>((arg << 8) | next()));
                break;
            case 9:
                r = sd_bus_message_append(m, "y", arg);
                break;
            case 10:
                r = sd_bus_message_append(m, "u", static_cast<std::uint32_t>(arg));
                break;
            case 11: {
                const std::size_t length = std::min<std::size_t>(arg, size - at);
                r = sd_bus_message_append_array(m, 'y', data + at, length);
                at += length;
                break;
            }
            default: {
                const std::size_t length = std::min<std::size_t>(arg, size - at);
                const std::string text(reinterpret_cast<const char*>(data + at), length);
                at += length;
                r = sd_bus_message_append(m, "s", text.c_str());
                break;
            }
        }
        if (r >= 0 && op % 13 <= 2) ++depth;
        if (r >= 0 && op % 13 == 3) --depth;
    }
    while (depth-- > 0) sd_bus_message_close_container(m);
    if (sd_bus_message_seal(m, 1, 0) >= 0 && sd_bus_message_rewind(m, 1) >= 0) {
        std::vector<BlueZObjectRecord> records;
        std::string path;
        std::vector<std::string> interfaces;
        BlueZObjectRecord record;
        bool read = false;
        switch (kind) {
            case 0:
                read = BlueZObjects::readManagedObjects(m, records);
                break;
            case 1:
                read = BlueZObjects::readInterfacesAdded(m, path, records);
                break;
            case 2:
                read = BlueZObjects::readInterfacesRemoved(m, path, interfaces);
                break;
            default:
                read = BlueZObjects::readPropertiesChanged(m, record);
                if (read) records.push_back(record);
                break;
        }
        if (!read && (!records.empty() || !interfaces.empty())) std::abort();
        if (records.size() > size || interfaces.size() > size) std::abort();
        for (const auto& r : records) {
            if (r.path.empty()) std::abort();
            check(r.properties, size);
        }
    }
    sd_bus_message_unref(m);
    return 0;
}
