#include "prelix10/platform/BluetoothSerialAccessorySource.hpp"

#include "prelix10/core/Prelix10Error.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
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

std::string manufacturerFor(const BluetoothSerialOptions& options) {
    if (options.manufacturer) return *options.manufacturer;
    if (const char* maker = std::getenv("PRELIX10_BLUETOOTH_MANUFACTURER"); maker && *maker) return maker;
    return BluetoothSerialOptions::kMakersName;
}

}  // namespace

BluetoothSerialAccessorySource::BluetoothSerialAccessorySource(BluetoothSerialOptions options)
    : options_(std::move(options)), manufacturer_(manufacturerFor(options_)) {}

BluetoothSerialAccessorySource::~BluetoothSerialAccessorySource() {
    for (auto& [key, connect] : pending_) ::close(connect.fd);
}

void BluetoothSerialAccessorySource::dropAbandoned(std::chrono::steady_clock::time_point now) {
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (now - it->second.lastAsked >= kAbandonedConnect) {
            ::close(it->second.fd);
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
}

int BluetoothSerialAccessorySource::openSocket(const DeviceAccessoryRecord& record) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    dropAbandoned(now);
    auto it = pending_.find(record.key);
    if (it == pending_.end()) {
        const int fd = options_.connectSocket ? options_.connectSocket(record.target, record.channel)
                                              : connectRfcomm(record.target, record.channel);
        if (fd < 0) return -1;
        it = pending_.emplace(record.key, PendingConnect{fd, now}).first;
    }
    it->second.lastAsked = now;
    const int fd = it->second.fd;
    pollfd entry{fd, POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) return -1;  // still connecting: the opener asks again
    int error = 0;
    socklen_t length = sizeof(error);
    const bool connected = ready > 0 && (entry.revents & POLLOUT) != 0 &&
                           ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    pending_.erase(it);
    if (!connected) {
        ::close(fd);
        return -1;
    }
    return fd;
}

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
    // The connection completes in the background; the opener waits for it (openSocket).
    return fd;
}

std::vector<DeviceAccessoryRecord> BluetoothSerialAccessorySource::scan() {
    {
        std::lock_guard lock(mutex_);
        dropAbandoned(std::chrono::steady_clock::now());
    }
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
        record.manufacturer = manufacturer_;
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
        const int fd = ::open(record.target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0 && errno == EBUSY) {
            throw Prelix10Error(Prelix10ErrorKind::inUse, Prelix10ErrorMessage::theDeviceIsInUseByAnotherProcess);
        }
        // Exclusive, so that another process's open of the terminal fails at once rather than sharing it.
        if (fd >= 0) ::ioctl(fd, TIOCEXCL);
        return fd;
    }
    return openSocket(record);
}

}  // namespace Prelix10
