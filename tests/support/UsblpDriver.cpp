#include "support/UsblpDriver.hpp"

#include <fcntl.h>
#include <linux/ioctl.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <stdexcept>

namespace Prelix10::Testing {

namespace fs = std::filesystem;

namespace {

// The driver's sizes: one bulk-OUT transfer, one bulk-IN transfer, the device ID buffer.
constexpr std::size_t kWriteTransfer = 8192;
constexpr std::size_t kReadTransfer = 1024;
constexpr std::size_t kDeviceIdBuffer = 1024;

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

int failWith(int error) {
    errno = error;
    return -1;
}

}  // namespace

struct UsblpDriver::Minor {
    int n = 0;
    Device device;
    std::unique_ptr<PrinterSession> session;
    bool present = true;
    bool used = false;
    int fd = -1;
    // The ID as the driver keeps it: the device's reply cut to the buffer, a NUL behind the text.
    std::vector<std::uint8_t> idBuffer = std::vector<std::uint8_t>(kDeviceIdBuffer, 0);
    // Bulk IN: one transfer under way while the node is open.
    bool readSubmitted = false;
    bool readComplete = false;
    long readStatus = 0;  // bytes the transfer brought, or a negative error
    std::vector<std::uint8_t> readBuffer;
    std::size_t readCount = 0;
    std::deque<ReadCompletion> readFaults;
    Bytes toSend;  // what the printer has to send
    // Bulk OUT: at most one transfer under way.
    bool writeComplete = true;
    Bytes inFlight;
    std::size_t inFlightTaken = 0;  // packets of it the device has accepted
    std::size_t takeLimit = static_cast<std::size_t>(-1);
    std::chrono::steady_clock::time_point submittedAt;
    std::chrono::milliseconds writeLatency{1};
    std::size_t dropped = 0;
    std::size_t taken = 0;

    // Asks the device for its ID, as the driver does at probe and on each ID request.
    bool cacheDeviceId() {
        std::fill(idBuffer.begin(), idBuffer.end(), 0);
        if (device.deviceId.size() < 2) return false;
        const std::size_t got = std::min(device.deviceId.size(), kDeviceIdBuffer - 1);
        std::copy_n(device.deviceId.begin(), got, idBuffer.begin());
        std::size_t length = (static_cast<std::size_t>(idBuffer[0]) << 8) | idBuffer[1];
        if (length < 2) length = 2;
        if (length >= kDeviceIdBuffer) length = kDeviceIdBuffer - 1;
        idBuffer[length] = 0;
        return true;
    }
    std::size_t idLength() const {
        std::size_t length = (static_cast<std::size_t>(idBuffer[0]) << 8) | idBuffer[1];
        return std::clamp<std::size_t>(length, 2, kDeviceIdBuffer - 1);
    }
    // Kills the transfers under way, as the release and the disconnect do.
    void killTransfers() {
        dropped += inFlight.size() - inFlightTaken;
        inFlight.clear();
        inFlightTaken = 0;
        writeComplete = true;
        readSubmitted = false;
    }
    void submitRead() {
        readSubmitted = true;
        readComplete = false;
        readCount = 0;
    }
    short pollMask() const {
        return static_cast<short>((readComplete ? POLLIN | POLLRDNORM : 0) | (writeComplete ? POLLOUT | POLLWRNORM : 0));
    }
};

std::shared_ptr<UsblpDriver> UsblpDriver::make() {
    auto driver = std::shared_ptr<UsblpDriver>(new UsblpDriver());
    driver->thread_ = std::thread([raw = driver.get()] { raw->run(); });
    return driver;
}

UsblpDriver::UsblpDriver() {
    char pattern[] = "/tmp/prelix10-usblp-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("no temporary directory");
    root_ = pattern;
}

UsblpDriver::~UsblpDriver() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
    for (const auto& [fd, n] : files_) ::close(fd);
    std::error_code error;
    fs::remove_all(root_, error);
}

UsbPrinterOptions UsblpDriver::options() {
    UsbPrinterOptions options;
    options.sysfsRoot = root_ / "sys";
    options.deviceRoot = root_ / "dev";
    options.nodeCalls = shared_from_this();
    return options;
}

std::string UsblpDriver::nodePath(int n) const { return (root_ / "dev/usb" / ("lp" + std::to_string(n))).string(); }

void UsblpDriver::writeAttributeLocked(int n, Minor& minor) {
    const fs::path interface = root_ / "sys/devices/usb1" / ("1-" + std::to_string(n)) / ("1-" + std::to_string(n) + ":1.0");
    std::string text;
    if (minor.idBuffer[0] != 0 || minor.idBuffer[1] != 0) {
        const auto* start = reinterpret_cast<const char*>(minor.idBuffer.data() + 2);
        text.assign(start, ::strnlen(start, kDeviceIdBuffer - 2));
    }
    writeFile(interface / "ieee1284_id", text);
}

void UsblpDriver::plug(int n, Device device) {
    std::lock_guard lock(mutex_);
    auto minor = std::make_unique<Minor>();
    minor->n = n;
    minor->device = std::move(device);
    minor->session = minor->device.engine->openSession(PrinterChannel::data);
    if (minor->device.answeredIdAtProbe) minor->cacheDeviceId();

    const std::string name = "lp" + std::to_string(n);
    const fs::path usbDevice = root_ / "sys/devices/usb1" / ("1-" + std::to_string(n));
    const fs::path interface = usbDevice / ("1-" + std::to_string(n) + ":1.0");
    fs::create_directories(interface);
    if (!minor->device.usbSerial.empty()) writeFile(usbDevice / "serial", minor->device.usbSerial + "\n");
    writeFile(usbDevice / "devnum", std::to_string(minor->device.devnum) + "\n");
    writeAttributeLocked(n, *minor);
    const fs::path entry = root_ / "sys/class/usbmisc" / name;
    writeFile(entry / "uevent", "MAJOR=180\nMINOR=" + std::to_string(n) + "\nDEVNAME=usb/" + name + "\n");
    std::error_code error;
    fs::remove(entry / "device", error);
    fs::create_directory_symlink(interface, entry / "device");
    writeFile(nodePath(n), "");
    minors_[n] = std::move(minor);
}

void UsblpDriver::unplug(int n) {
    std::lock_guard lock(mutex_);
    auto it = minors_.find(n);
    if (it == minors_.end()) return;
    Minor& minor = *it->second;
    minor.present = false;
    if (minor.used) {
        // The disconnect kills the transfers; their completion wakes poll with input and room to write.
        minor.killTransfers();
        minor.readComplete = true;
        minor.readStatus = -ENODEV;
        wakeLocked();
    }
    std::error_code error;
    fs::remove_all(root_ / "sys/class/usbmisc" / ("lp" + std::to_string(n)), error);
    fs::remove_all(root_ / "sys/devices/usb1" / ("1-" + std::to_string(n)), error);
    fs::remove(nodePath(n), error);
    // A node still held keeps its minor until its release; the device number may be used again.
    if (minor.used) {
        minor.n = -1 - n;
        files_[minor.fd] = minor.n;
        minors_[minor.n] = std::move(it->second);
    }
    minors_.erase(it);
}

void UsblpDriver::queueReadCompletions(int n, const std::vector<ReadCompletion>& completions) {
    std::lock_guard lock(mutex_);
    if (auto it = minors_.find(n); it != minors_.end()) {
        it->second->readFaults.insert(it->second->readFaults.end(), completions.begin(), completions.end());
    }
}

void UsblpDriver::setWriteLatency(int n, std::chrono::milliseconds latency) {
    std::lock_guard lock(mutex_);
    if (auto it = minors_.find(n); it != minors_.end()) it->second->writeLatency = latency;
}

void UsblpDriver::stopTakingAfter(int n, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    if (auto it = minors_.find(n); it != minors_.end()) it->second->takeLimit = bytes;
}

std::size_t UsblpDriver::droppedBytes(int n) {
    std::lock_guard lock(mutex_);
    auto it = minors_.find(n);
    return it == minors_.end() ? 0 : it->second->dropped;
}

std::size_t UsblpDriver::bytesTaken(int n) {
    std::lock_guard lock(mutex_);
    auto it = minors_.find(n);
    return it == minors_.end() ? 0 : it->second->taken;
}

bool UsblpDriver::isOpen(int n) {
    std::lock_guard lock(mutex_);
    auto it = minors_.find(n);
    return it != minors_.end() && it->second->used;
}

UsblpDriver::Minor* UsblpDriver::minorOfLocked(int fd) {
    auto file = files_.find(fd);
    if (file == files_.end()) return nullptr;
    auto it = minors_.find(file->second);
    return it == minors_.end() ? nullptr : it->second.get();
}

void UsblpDriver::wakeLocked() {
    const std::uint64_t one = 1;
    for (const int waiter : waiters_) {
        [[maybe_unused]] const auto n = ::write(waiter, &one, sizeof(one));
    }
}

void UsblpDriver::run() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
            const auto now = std::chrono::steady_clock::now();
            for (auto& [n, owned] : minors_) {
                Minor& minor = *owned;
                if (!minor.present || !minor.used) continue;
                bool changed = false;
                if (!minor.writeComplete && now - minor.submittedAt >= minor.writeLatency) {
                    // The device accepts packets up to its limit and holds off the rest of the transfer.
                    const std::size_t room = minor.takeLimit > minor.taken ? minor.takeLimit - minor.taken : 0;
                    const std::size_t count = std::min(room, minor.inFlight.size() - minor.inFlightTaken);
                    if (count > 0) {
                        const auto from = minor.inFlight.begin() + static_cast<long>(minor.inFlightTaken);
                        const Bytes reply = minor.session->receive(Bytes(from, from + static_cast<long>(count)));
                        minor.toSend.insert(minor.toSend.end(), reply.begin(), reply.end());
                        minor.taken += count;
                        minor.inFlightTaken += count;
                    }
                    if (minor.inFlightTaken == minor.inFlight.size()) {
                        minor.inFlight.clear();
                        minor.inFlightTaken = 0;
                        minor.writeComplete = true;
                        changed = true;
                    }
                }
                const Bytes unsolicited = minor.session->poll();
                minor.toSend.insert(minor.toSend.end(), unsolicited.begin(), unsolicited.end());
                if (minor.readSubmitted && !minor.readComplete) {
                    if (!minor.readFaults.empty()) {
                        const ReadCompletion fault = minor.readFaults.front();
                        minor.readFaults.pop_front();
                        minor.readBuffer.clear();
                        minor.readStatus = fault == ReadCompletion::error ? -EPROTO : 0;
                        minor.readComplete = true;
                        changed = true;
                    } else if (!minor.toSend.empty()) {
                        const std::size_t size = std::min(minor.toSend.size(), kReadTransfer);
                        minor.readBuffer.assign(minor.toSend.begin(), minor.toSend.begin() + static_cast<long>(size));
                        minor.toSend.erase(minor.toSend.begin(), minor.toSend.begin() + static_cast<long>(size));
                        minor.readStatus = static_cast<long>(size);
                        minor.readComplete = true;
                        changed = true;
                    }
                }
                if (changed) wakeLocked();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int UsblpDriver::open(const std::string& path, int flags) {
    std::unique_lock lock(mutex_);
    Minor* minor = nullptr;
    for (auto& [n, owned] : minors_) {
        if (n >= 0 && nodePath(n) == path) minor = owned.get();
    }
    if (!minor) {
        lock.unlock();
        return DescriptorCalls::open(path, flags);
    }
    if (!(flags & O_NONBLOCK)) return failWith(EINVAL);
    if (!minor->present) return failWith(ENODEV);
    if (minor->used) return failWith(EBUSY);
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) return -1;
    minor->used = true;
    minor->fd = fd;
    minor->writeComplete = true;
    minor->submitRead();
    files_[fd] = minor->n;
    return fd;
}

ssize_t UsblpDriver::read(int fd, void* buffer, std::size_t length) {
    std::unique_lock lock(mutex_);
    Minor* minor = minorOfLocked(fd);
    if (!minor) {
        lock.unlock();
        return DescriptorCalls::read(fd, buffer, length);
    }
    if (!minor->present) return failWith(ENODEV);
    if (!minor->readComplete) return failWith(EAGAIN);
    if (minor->readStatus < 0) {
        // One failed transfer is reported once; the next one starts.
        minor->submitRead();
        return failWith(EIO);
    }
    const std::size_t available = static_cast<std::size_t>(minor->readStatus) - minor->readCount;
    const std::size_t count = std::min(length, available);
    if (count > 0) std::memcpy(buffer, minor->readBuffer.data() + minor->readCount, count);
    minor->readCount += count;
    if (minor->readCount == static_cast<std::size_t>(minor->readStatus)) minor->submitRead();
    return static_cast<ssize_t>(count);
}

ssize_t UsblpDriver::write(int fd, const void* bytes, std::size_t length) {
    std::unique_lock lock(mutex_);
    Minor* minor = minorOfLocked(fd);
    if (!minor) {
        lock.unlock();
        return DescriptorCalls::write(fd, bytes, length);
    }
    if (!minor->present) return failWith(ENODEV);
    if (!minor->writeComplete) return failWith(EAGAIN);
    if (length == 0) return 0;
    // Non-blocking: the transfer is submitted and presumed to go well.
    const std::size_t size = std::min(length, kWriteTransfer);
    const auto* from = static_cast<const std::uint8_t*>(bytes);
    minor->inFlight.assign(from, from + size);
    minor->inFlightTaken = 0;
    minor->writeComplete = false;
    minor->submittedAt = std::chrono::steady_clock::now();
    return static_cast<ssize_t>(size);
}

int UsblpDriver::poll(pollfd* fds, nfds_t count, int timeoutMilliseconds) {
    const bool forever = timeoutMilliseconds < 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMilliseconds, 0));
    // The nodes' entries are waited for through a signal of this call's own, which every change of the
    // driver's state raises; the other descriptors are polled as they are.
    const int signal = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (signal < 0) return -1;
    std::vector<pollfd> system(fds, fds + count);
    system.push_back({signal, POLLIN, 0});
    int result = 0;
    for (;;) {
        int ready = 0;
        std::vector<bool> mine(count, false);
        {
            std::lock_guard lock(mutex_);
            for (nfds_t i = 0; i < count; ++i) {
                fds[i].revents = 0;
                system[i] = fds[i];
                Minor* minor = minorOfLocked(fds[i].fd);
                if (!minor) continue;
                mine[i] = true;
                system[i].fd = -1;
                fds[i].revents = static_cast<short>(minor->pollMask() & fds[i].events);
                if (fds[i].revents) ++ready;
            }
            // Registered under the lock the state was read under: no change is missed.
            waiters_.push_back(signal);
        }
        int left = 0;
        if (ready == 0) {
            const auto remaining =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            left = forever ? -1 : static_cast<int>(std::max<long long>(remaining.count(), 0));
        }
        const int got = ::poll(system.data(), system.size(), left);
        {
            std::lock_guard lock(mutex_);
            std::erase(waiters_, signal);
        }
        std::uint64_t value = 0;
        [[maybe_unused]] const auto drained = ::read(signal, &value, sizeof(value));
        if (got < 0) {
            result = -1;
            break;
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (mine[i] || !system[i].revents) continue;
            fds[i].revents = system[i].revents;
            ++ready;
        }
        if (ready > 0 || left == 0 || (!forever && std::chrono::steady_clock::now() >= deadline)) {
            if (ready == 0) {
                for (nfds_t i = 0; i < count; ++i) fds[i].revents = 0;
            }
            result = ready;
            break;
        }
    }
    ::close(signal);
    return result;
}

int UsblpDriver::ioctl(int fd, unsigned long request, void* argument) {
    std::unique_lock lock(mutex_);
    Minor* minor = minorOfLocked(fd);
    if (!minor) {
        lock.unlock();
        return DescriptorCalls::ioctl(fd, request, argument);
    }
    if (!minor->present) return failWith(ENODEV);
    if (_IOC_TYPE(request) != 'P' || _IOC_NR(request) != 1) return failWith(ENOTTY);
    if (_IOC_DIR(request) != _IOC_READ) return failWith(EINVAL);
    const bool answered = minor->device.answersIdRequest && minor->cacheDeviceId();
    if (!answered) std::fill(minor->idBuffer.begin(), minor->idBuffer.end(), 0);
    writeAttributeLocked(minor->n, *minor);
    if (!answered) return failWith(EIO);
    const std::size_t length = std::min<std::size_t>(minor->idLength(), _IOC_SIZE(request));
    std::memcpy(argument, minor->idBuffer.data(), length);
    return 0;
}

int UsblpDriver::flock(int fd, int operation) {
    {
        std::lock_guard lock(mutex_);
        // The node opens only once, so its lock is never contended.
        if (minorOfLocked(fd)) return 0;
    }
    return DescriptorCalls::flock(fd, operation);
}

int UsblpDriver::close(int fd) {
    {
        std::lock_guard lock(mutex_);
        if (auto file = files_.find(fd); file != files_.end()) {
            if (auto it = minors_.find(file->second); it != minors_.end()) {
                Minor& minor = *it->second;
                minor.used = false;
                minor.fd = -1;
                if (minor.present) {
                    minor.killTransfers();
                } else {
                    minors_.erase(it);  // the cleanup the disconnect left for the release
                }
            }
            files_.erase(file);
        }
    }
    return ::close(fd);
}

}  // namespace Prelix10::Testing
