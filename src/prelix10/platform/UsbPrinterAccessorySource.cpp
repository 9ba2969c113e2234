#include "prelix10/platform/UsbPrinterAccessorySource.hpp"

#include <fcntl.h>
#include <linux/ioctl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/platform/Ieee1284DeviceId.hpp"

namespace Prelix10 {

namespace {

namespace fs = std::filesystem;

// The usblp driver's device ID request: _IOC(_IOC_READ, 'P', 1, length).
constexpr std::size_t kDeviceIdSize = 1024;
constexpr unsigned long deviceIdRequest(std::size_t length) {
    return static_cast<unsigned long>(_IOC(_IOC_READ, 'P', 1, length));
}

// A small sysfs attribute: its first line, bounded.
std::string readAttribute(const fs::path& path) {
    std::ifstream in(path);
    if (!in) return {};
    std::string line;
    std::getline(in, line);
    if (line.size() > 256) line.resize(256);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// DEVNAME from the entry's uevent ("usb/lp0"), else the usual place of the node.
std::string deviceNameOf(const fs::path& entry) {
    std::ifstream in(entry / "uevent");
    std::string line;
    for (int lines = 0; lines < 64 && std::getline(in, line); ++lines) {
        if (line.rfind("DEVNAME=", 0) == 0) {
            const std::string name = line.substr(8);
            // A name that climbs out of the device root is not taken.
            if (!name.empty() && name.find("..") == std::string::npos && name.front() != '/') return name;
        }
    }
    return "usb/" + entry.filename().string();
}

// The USB device behind the printer interface: the parent of the entry's "device" link.
fs::path usbDeviceOf(const fs::path& entry) {
    std::error_code error;
    const fs::path interface = fs::canonical(entry / "device", error);
    if (error) return {};
    return interface.parent_path();
}

// A small file read whole, bounded; none when it does not open or read.
std::optional<std::string> readSmallFile(const fs::path& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

Prelix10Error inUse() {
    return Prelix10Error(Prelix10ErrorKind::inUse, Prelix10ErrorMessage::theDeviceIsInUseByAnotherProcess);
}

}  // namespace

UsbPrinterAccessorySource::UsbPrinterAccessorySource(UsbPrinterOptions options)
    : options_(std::move(options)), calls_(options_.nodeCalls ? options_.nodeCalls : DescriptorCalls::system()) {}

std::optional<std::vector<std::uint8_t>> UsbPrinterAccessorySource::readDeviceIdByIoctl(const std::string& devicePath) {
    return readDeviceIdByIoctl(*DescriptorCalls::system(), devicePath);
}

std::optional<std::vector<std::uint8_t>> UsbPrinterAccessorySource::readDeviceIdByIoctl(DescriptorCalls& calls,
                                                                                        const std::string& devicePath) {
    const int fd = calls.open(devicePath, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::vector<std::uint8_t> reply(kDeviceIdSize, 0);
    const int result = calls.ioctl(fd, deviceIdRequest(reply.size()), reply.data());
    calls.close(fd);
    if (result < 0) return std::nullopt;
    return reply;
}

std::pair<DeviceAccessoryRecord, bool> UsbPrinterAccessorySource::describe(const fs::path& entry, const std::string& key,
                                                                           const std::string& devicePath) {
    DeviceAccessoryRecord record;
    record.key = key;
    record.target = devicePath;
    record.transport = EAAccessoryType::usb;
    Ieee1284DeviceId id;
    bool read = false;
    // The driver's copy of the ID, kept since the device was plugged in: readable while the node is held.
    if (const auto text = readSmallFile(entry / "device" / "ieee1284_id", kDeviceIdSize); text && !text->empty()) {
        id = Ieee1284DeviceId::parseAttribute(*text, kDeviceIdSize);
        read = true;
    } else {
        std::optional<std::vector<std::uint8_t>> reply;
        try {
            std::lock_guard node(nodeMutex_);
            reply = options_.deviceIdReader ? options_.deviceIdReader(devicePath)
                                            : readDeviceIdByIoctl(*calls_, devicePath);
        } catch (...) {
            reply.reset();
        }
        if (reply) {
            id = Ieee1284DeviceId::parse(*reply);
            read = id.wellFormed;
        }
    }
    record.manufacturer = id.manufacturer;
    record.modelNumber = id.model;
    record.name = id.model;
    record.serialNumber = id.serialNumber;
    if (record.serialNumber.empty()) {
        if (const fs::path device = usbDeviceOf(entry); !device.empty()) {
            record.serialNumber = readAttribute(device / "serial");
        }
    }
    record.protocolStrings = printerProtocolStringsFor(record.manufacturer);
    // A device listed before its ID could be read comes back under another key once it is: the list then
    // drops the one it could not use and adds the printer.
    if (!read) record.key += "|unread";
    return {std::move(record), read};
}

std::vector<DeviceAccessoryRecord> UsbPrinterAccessorySource::scan() {
    std::vector<std::pair<fs::path, std::string>> entries;
    std::error_code error;
    const fs::path classDir = options_.sysfsRoot / "class" / "usbmisc";
    for (fs::directory_iterator it(classDir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("lp", 0) != 0) continue;
        entries.emplace_back(it->path(), name);
        if (entries.size() >= 256) break;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.second < b.second; });

    std::lock_guard lock(mutex_);
    std::map<std::string, DeviceAccessoryRecord> seen;
    std::vector<DeviceAccessoryRecord> records;
    for (const auto& [entry, name] : entries) {
        const fs::path device = usbDeviceOf(entry);
        // A device plugged in again has a new device number, so it is a new connection.
        const std::string key =
            name + "|" + device.string() + "|" + (device.empty() ? std::string() : readAttribute(device / "devnum"));
        if (auto known = known_.find(key); known != known_.end()) {
            seen.emplace(key, known->second);
            records.push_back(known->second);
            continue;
        }
        auto [record, read] = describe(entry, key, (options_.deviceRoot / deviceNameOf(entry)).string());
        record.location = device.filename().string();
        if (read) seen.emplace(key, record);
        records.push_back(std::move(record));
    }
    known_ = std::move(seen);
    return records;
}

int UsbPrinterAccessorySource::open(const DeviceAccessoryRecord& record) {
    // The scan's ID request holds the node for a moment; the port's open tries again shortly.
    std::unique_lock node(nodeMutex_, std::try_to_lock);
    if (!node.owns_lock()) return -1;
    const int fd = calls_->open(record.target, O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // The driver lets one process at a time hold the node.
        if (errno == EBUSY) throw inUse();
        return -1;
    }
    // Nodes that open more than once (other printer drivers, a node that is a link to another device) are
    // held by a lock that every session takes.
    if (calls_->flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        calls_->close(fd);
        if (error == EWOULDBLOCK) throw inUse();
        return -1;
    }
    return fd;
}

}  // namespace Prelix10
