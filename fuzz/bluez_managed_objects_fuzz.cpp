// BlueZ's GetManagedObjects reply over arbitrary shapes: the bytes are a recipe for a message (containers of
// the reply's and of stray signatures, keys, paths, values of every type the parser meets), built on a bus of
// a socket pair that never gets past its handshake, so nothing is sent. The parser takes at most its bound of
// devices, each paired, with an address and only the serial-port UUID, its texts cut to their bounds.
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "prelix10/platform/BlueZPairedDevices.hpp"

using namespace Prelix10;

namespace {

constexpr const char* kArrays[] = {"{oa{sa{sv}}}", "{sa{sv}}", "{sv}", "s", "y", "(ss)"};
constexpr const char* kEntries[] = {"oa{sa{sv}}", "sa{sv}", "sv", "ss"};
constexpr const char* kVariants[] = {"s", "b", "as", "ay", "v", "u", "a{sv}", "o"};
constexpr const char* kWords[] = {"org.bluez.Device1", "org.bluez.Adapter1", "Address", "Name", "Alias", "Paired",
                                  "UUIDs", "00001101-0000-1000-8000-00805F9B34FB", "00:11:62:AA:BB:CC", ""};

template <std::size_t N>
const char* pick(const char* const (&table)[N], std::uint8_t byte) {
    return table[byte % N];
}

struct Bus {
    int fds[2] = {-1, -1};
    sd_bus* bus = nullptr;
    Bus() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) std::abort();
        if (sd_bus_new(&bus) < 0 || sd_bus_set_fd(bus, fds[0], fds[0]) < 0 || sd_bus_start(bus) < 0) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Bus bus;
    sd_bus_message* m = nullptr;
    if (sd_bus_message_new_signal(bus.bus, &m, "/", "org.example.Fuzz", "Reply") < 0) std::abort();
    int depth = 0;
    std::size_t at = 0;
    auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    while (at < size) {
        const std::uint8_t op = next();
        const std::uint8_t arg = next();
        int r = 0;
        switch (op % 10) {
            case 0: r = sd_bus_message_open_container(m, 'a', pick(kArrays, arg)); break;
            case 1: r = sd_bus_message_open_container(m, 'e', pick(kEntries, arg)); break;
            case 2: r = sd_bus_message_open_container(m, 'v', pick(kVariants, arg)); break;
            case 3: r = depth > 0 ? sd_bus_message_close_container(m) : -1; break;
            case 4: r = sd_bus_message_append(m, "s", pick(kWords, arg)); break;
            case 5: r = sd_bus_message_append(m, "o", arg & 1 ? "/org/bluez/hci0/dev_1" : "/"); break;
            case 6: r = sd_bus_message_append(m, "b", arg & 1); break;
            case 7: r = sd_bus_message_append(m, "u", static_cast<std::uint32_t>(arg)); break;
            case 8: r = sd_bus_message_append(m, "y", arg); break;
            default: {
                const std::size_t length = std::min<std::size_t>(arg, size - at);
                const std::string text(reinterpret_cast<const char*>(data + at), length);
                at += length;
                r = sd_bus_message_append(m, "s", text.c_str());
                break;
            }
        }
        if (r >= 0 && op % 10 <= 2) ++depth;
        if (r >= 0 && op % 10 == 3) --depth;
    }
    while (depth-- > 0) sd_bus_message_close_container(m);
    if (sd_bus_message_seal(m, 1, 0) >= 0 && sd_bus_message_rewind(m, 1) >= 0) {
        const auto devices = BlueZPairedDevices::fromManagedObjects(m);
        if (devices.size() > BlueZPairedDevices::kMaxDevices) std::abort();
        for (const auto& d : devices) {
            if (!d.paired || d.address.empty() || d.uuids.size() != 1) std::abort();
            if (d.address.size() > 64 || d.name.size() > 248) std::abort();
        }
    }
    sd_bus_message_unref(m);
    return 0;
}
