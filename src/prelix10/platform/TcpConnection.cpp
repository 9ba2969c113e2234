#include "prelix10/platform/TcpConnection.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "prelix10/core/Deadline.hpp"

namespace Prelix10 {

namespace {

using Clock = std::chrono::steady_clock;

bool makeAddress(const std::string& text, std::uint16_t port, sockaddr_in& out) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, text.c_str(), &out.sin_addr) == 1;
}

int remainingMs(Clock::time_point deadline) {
    // Rounded up, so that a wait never ends before its deadline.
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left < 0) return 0;
    if (left > 1'000'000'000) return 1'000'000'000;
    return static_cast<int>(left);
}

SocketSendResult sendAll(int fd, std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) {
    SocketSendResult result;
    if (fd < 0) {
        result.error = ENOTCONN;
        return result;
    }
    const auto deadline = Deadline::after(timeout);
    while (result.sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + result.sent, bytes.size() - result.sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            result.sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            result.error = errno;
            return result;
        }
        int wait = remainingMs(deadline);
        if (wait <= 0) {
            result.error = ETIMEDOUT;
            return result;
        }
        pollfd p{fd, POLLOUT, 0};
        int r = ::poll(&p, 1, wait);
        if (r < 0 && errno != EINTR) {
            result.error = errno;
            return result;
        }
        if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & POLLOUT)) {
            int err = 0;
            socklen_t len = sizeof(err);
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
            result.error = err ? err : EPIPE;
            return result;
        }
    }
    return result;
}

}  // namespace

TcpConnection::~TcpConnection() { cancel(); }

int TcpConnection::connect(const std::string& ipv4Address, std::uint16_t port, std::chrono::milliseconds timeout) {
    std::lock_guard lock(mutex_);
    if (fd_.load() >= 0) return EISCONN;
    sockaddr_in address;
    if (!makeAddress(ipv4Address, port, address)) return EINVAL;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return errno;
    const auto deadline = Deadline::after(timeout);
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    int error = 0;
    if (result < 0) {
        error = errno;
        if (error == EINPROGRESS) {
            error = 0;
            for (;;) {
                pollfd p{fd, POLLOUT, 0};
                int r = ::poll(&p, 1, remainingMs(deadline));
                if (r < 0 && errno == EINTR) continue;
                if (r < 0) {
                    error = errno;
                } else if (r == 0) {
                    error = ETIMEDOUT;
                } else {
                    socklen_t len = sizeof(error);
                    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) < 0) error = errno;
                }
                break;
            }
        }
    }
    if (error != 0) {
        ::close(fd);
        return error;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
    cancelled_.store(false);
    ended_.store(false);
    fd_.store(fd);
    return 0;
}

void TcpConnection::startReceiving(ReceiveHandler onData, EndHandler onEnd, std::size_t chunkSize) {
    std::lock_guard lock(mutex_);
    int fd = fd_.load();
    if (fd < 0 || receiver_.joinable()) return;
    if (chunkSize == 0) chunkSize = 1;
    receiver_ = std::thread([this, fd, chunkSize, onData = std::move(onData), onEnd = std::move(onEnd)] {
        std::vector<std::uint8_t> buffer(chunkSize);
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            int r = ::poll(&p, 1, -1);
            if (r < 0 && errno == EINTR) continue;
            if (cancelled_.load()) return;
            ssize_t n = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (n > 0) {
                try {
                    if (onData) onData(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
                } catch (...) {
                }
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
            int error = n < 0 ? errno : 0;
            if (cancelled_.load()) return;
            ended_.store(true);
            try {
                if (onEnd) onEnd(n == 0 ? SocketStreamEnd::closedByPeer : SocketStreamEnd::failed, error);
            } catch (...) {
            }
            return;
        }
    });
}

SocketSendResult TcpConnection::send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) {
    return sendAll(fd_.load(), bytes, timeout);
}

void TcpConnection::cancel() {
    std::thread receiver;
    int fd;
    {
        std::lock_guard lock(mutex_);
        fd = fd_.load();
        if (fd < 0 && !receiver_.joinable()) return;
        cancelled_.store(true);
        if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
        receiver = std::move(receiver_);
    }
    if (receiver.joinable()) {
        if (receiver.get_id() == std::this_thread::get_id()) {
            receiver.detach();
        } else {
            receiver.join();
        }
    }
    std::lock_guard lock(mutex_);
    fd = fd_.exchange(-1);
    if (fd >= 0) ::close(fd);
}

UdpConnection::~UdpConnection() { cancel(); }

int UdpConnection::open(const std::string& localAddress, std::uint16_t localPort, const std::string& remoteAddress,
                        std::uint16_t remotePort) {
    std::lock_guard lock(mutex_);
    if (fd_.load() >= 0) return EISCONN;
    sockaddr_in local, remote;
    if (!makeAddress(localAddress, localPort, local) || !makeAddress(remoteAddress, remotePort, remote)) return EINVAL;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return errno;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) < 0 ||
        ::connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof(remote)) < 0) {
        int error = errno;
        ::close(fd);
        return error;
    }
    cancelled_.store(false);
    fd_.store(fd);
    return 0;
}

void UdpConnection::startReceiving(ReceiveHandler onDatagram) {
    std::lock_guard lock(mutex_);
    int fd = fd_.load();
    if (fd < 0 || receiver_.joinable()) return;
    receiver_ = std::thread([this, fd, onDatagram = std::move(onDatagram)] {
        std::vector<std::uint8_t> buffer(65536);
        while (!cancelled_.load()) {
            pollfd p{fd, POLLIN, 0};
            // A bounded wait: shutdown does not wake poll on every kernel for unconnected datagram sockets.
            int r = ::poll(&p, 1, 50);
            if (cancelled_.load()) return;
            if (r <= 0) continue;
            ssize_t n = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (n < 0) continue;
            try {
                if (onDatagram) onDatagram(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
            } catch (...) {
            }
        }
    });
}

SocketSendResult UdpConnection::send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) {
    return sendAll(fd_.load(), bytes, timeout);
}

void UdpConnection::cancel() {
    std::thread receiver;
    {
        std::lock_guard lock(mutex_);
        cancelled_.store(true);
        receiver = std::move(receiver_);
    }
    if (receiver.joinable()) {
        if (receiver.get_id() == std::this_thread::get_id()) {
            receiver.detach();
        } else {
            receiver.join();
        }
    }
    std::lock_guard lock(mutex_);
    int fd = fd_.exchange(-1);
    if (fd >= 0) ::close(fd);
}

std::uint16_t UdpConnection::localPort() const {
    int fd = fd_.load();
    if (fd < 0) return 0;
    sockaddr_in address{};
    socklen_t len = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &len) < 0) return 0;
    return ntohs(address.sin_port);
}

}  // namespace Prelix10
