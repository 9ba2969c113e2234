#include "prelix10/platform/BluetoothSerialAccessorySource.hpp"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace Prelix10 {

namespace {

// The kernel's RFCOMM socket interface, declared here so that the Bluetooth development headers are not
// needed to build.
constexpr int kAfBluetooth = 31;
constexpr int kBtprotoRfcomm = 3;
struct BluetoothAddress {
    std::uint8_t b[6];
} __attribute__((packed));
struct RfcommAddress {
    sa_family_t family;
    BluetoothAddress address;
    std::uint8_t channel;
};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "00:11:62:AA:BB:CC" into the kernel's order (least significant byte first).
bool parseAddress(const std::string& text, BluetoothAddress& out) {
    if (text.size() != 17) return false;
    for (int i = 0; i < 6; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 3;
        if (i < 5 && text[at + 2] != ':') return false;
        unsigned value = 0;
        for (std::size_t k = at; k < at + 2; ++k) {
            const char c = text[k];
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                                                                   : std::tolower(c) - 'a' + 10);
        }
        out.b[5 - i] = static_cast<std::uint8_t>(value);
    }
    return true;
}

}  // namespace

BluetoothSerialAccessorySource::BluetoothSerialAccessorySource(BluetoothSerialOptions options)
    : options_(std::move(options)) {}

int BluetoothSerialAccessorySource::connectRfcomm(const std::string& address, int channel) {
    RfcommAddress target{};
    if (!parseAddress(address, target.address) || channel < 1 || channel > 30) return -1;
    target.family = kAfBluetooth;
    target.channel = static_cast<std::uint8_t>(channel);
    const int fd = ::socket(kAfBluetooth, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, kBtprotoRfcomm);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof(target)) < 0 && errno != EINPROGRESS) {
        ::close(fd);
        return -1;
    }
    // The connection completes in the background: the output stream has room once it is up, and a failure
    // ends the streams.
    return fd;
}

std::vector<DeviceAccessoryRecord> BluetoothSerialAccessorySource::scan() {
    if (!options_.pairedDevices) return {};
    std::vector<DeviceAccessoryRecord> records;
    for (const auto& device : options_.pairedDevices()) {
        if (!device.paired || device.address.empty()) continue;
        const bool serial = std::any_of(device.uuids.begin(), device.uuids.end(), [](const std::string& uuid) {
            return lower(uuid) == BluetoothSerialOptions::kSerialPortUuid;
        });
        if (!serial) continue;
        DeviceAccessoryRecord record;
        record.key = lower(device.address) + "|" + device.terminalPath;
        record.manufacturer = options_.manufacturer;
        record.name = device.name;
        record.modelNumber = device.name;
        record.serialNumber = device.address;
        record.protocolStrings = printerProtocolStringsFor(record.manufacturer);
        record.transport = EAAccessoryType::bluetooth;
        record.target = device.terminalPath.empty() ? device.address : device.terminalPath;
        record.channel = device.channel.value_or(BluetoothSerialOptions::kDefaultChannel);
        records.push_back(std::move(record));
        if (records.size() >= 256) break;
    }
    return records;
}

int BluetoothSerialAccessorySource::open(const DeviceAccessoryRecord& record) {
    if (!record.target.empty() && record.target.front() == '/') {
        return ::open(record.target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }
    return options_.connectSocket ? options_.connectSocket(record.target, record.channel)
                                  : connectRfcomm(record.target, record.channel);
}

}  // namespace Prelix10
