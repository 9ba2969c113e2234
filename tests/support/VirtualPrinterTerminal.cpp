#include "support/VirtualPrinterTerminal.hpp"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace Prelix10::Testing {

std::unique_ptr<VirtualPrinterTerminal> VirtualPrinterTerminal::pseudoTerminal(std::shared_ptr<VirtualPrinterEngine> engine) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) throw std::runtime_error("no pseudo-terminal");
    const std::string path = ::ptsname(master);
    const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) throw std::runtime_error("pseudo-terminal slave does not open");
    termios mode{};
    ::tcgetattr(slave, &mode);
    ::cfmakeraw(&mode);
    ::tcsetattr(slave, TCSANOW, &mode);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<VirtualPrinterTerminal>(new VirtualPrinterTerminal(std::move(engine), master, slave, path));
}

std::unique_ptr<VirtualPrinterTerminal> VirtualPrinterTerminal::socketPair(std::shared_ptr<VirtualPrinterEngine> engine) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) throw std::runtime_error("no socket pair");
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<VirtualPrinterTerminal>(new VirtualPrinterTerminal(std::move(engine), fds[0], fds[1], {}));
}

VirtualPrinterTerminal::VirtualPrinterTerminal(std::shared_ptr<VirtualPrinterEngine> engine, int deviceFd, int keepFd,
                                               std::string hostPath)
    : engine_(std::move(engine)),
      session_(engine_->openSession(PrinterChannel::data)),
      deviceFd_(deviceFd),
      keepFd_(keepFd),
      hostPath_(std::move(hostPath)) {
    thread_ = std::thread([this] { run(); });
}

VirtualPrinterTerminal::~VirtualPrinterTerminal() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (deviceFd_ >= 0) ::close(deviceFd_);
    if (keepFd_ >= 0) ::close(keepFd_);
}

int VirtualPrinterTerminal::takeHostSocket() {
    std::lock_guard lock(fdMutex_);
    const int fd = keepFd_;
    keepFd_ = -1;
    return fd;
}

void VirtualPrinterTerminal::hangUp() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(fdMutex_);
    if (deviceFd_ >= 0) ::close(deviceFd_);
    deviceFd_ = -1;
    if (!hostPath_.empty() && keepFd_ >= 0) {
        ::close(keepFd_);
        keepFd_ = -1;
    }
}

void VirtualPrinterTerminal::writeAll(const Bytes& bytes) {
    std::size_t done = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (done < bytes.size() && !stop_ && std::chrono::steady_clock::now() < until) {
        const ssize_t n = ::write(deviceFd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd p{deviceFd_, POLLOUT, 0};
            ::poll(&p, 1, 5);
        }
    }
}

void VirtualPrinterTerminal::run() {
    std::array<std::uint8_t, 4096> buffer{};
    while (!stop_) {
        const std::size_t limit = readLimit_;
        const std::size_t room = limit > received_ ? std::min(buffer.size(), limit - received_) : 0;
        pollfd p{deviceFd_, static_cast<short>(room > 0 ? POLLIN : 0), 0};
        ::poll(&p, 1, 2);
        if (room > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(deviceFd_, buffer.data(), room);
            if (n > 0) {
                received_ += static_cast<std::size_t>(n);
                writeAll(session_->receive(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n))));
            } else {
                // The host closed its end; nothing more comes.
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        const Bytes unsolicited = session_->poll();
        if (!unsolicited.empty()) writeAll(unsolicited);
        if (room == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace Prelix10::Testing
