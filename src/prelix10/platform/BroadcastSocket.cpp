#include "prelix10/platform/BroadcastSocket.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace Prelix10 {

namespace {

bool makeAddress(const std::string& text, std::uint16_t port, sockaddr_in& out) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return ::inet_pton(AF_INET, text.c_str(), &out.sin_addr) == 1;
}

}  // namespace

int BroadcastSocket::open(const std::string& localAddress, std::uint16_t localPort) {
    if (isOpen()) return EISCONN;
    sockaddr_in local;
    if (!makeAddress(localAddress, localPort, local)) return EINVAL;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0) return errno;
    auto fail = [fd] {
        const int error = errno;
        ::close(fd);
        return error;
    };
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) < 0) return fail();
    const int on = 1;
    if (::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on)) < 0) return fail();
    fd_.store(fd);
    return 0;
}

std::uint16_t BroadcastSocket::localPort() const {
    const int fd = descriptor();
    if (fd < 0) return 0;
    sockaddr_in address{};
    socklen_t length = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) return 0;
    return ntohs(address.sin_port);
}

std::vector<std::uint8_t> BroadcastSocket::receive(std::size_t maxSize) {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    return receiveFrom(maxSize, address, port);
}

std::vector<std::uint8_t> BroadcastSocket::receiveFrom(std::size_t maxSize, std::uint32_t& sourceAddress,
                                                       std::uint16_t& sourcePort) {
    sourceAddress = 0;
    sourcePort = 0;
    const int fd = descriptor();
    if (fd < 0 || maxSize == 0) return {};
    std::vector<std::uint8_t> buffer(maxSize);
    sockaddr_in from{};
    ssize_t n;
    do {
        socklen_t fromLength = sizeof(from);
        n = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return {};
    buffer.resize(static_cast<std::size_t>(n));
    sourceAddress = ntohl(from.sin_addr.s_addr);
    sourcePort = ntohs(from.sin_port);
    return buffer;
}

bool BroadcastSocket::waitReadable(std::chrono::milliseconds maxWait) const {
    const int fd = descriptor();
    if (fd < 0) return false;
    const auto wait = std::clamp<std::int64_t>(maxWait.count(), 0, 1'000'000'000);
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(wait));
    return r > 0 && (p.revents & POLLIN) != 0;
}

long BroadcastSocket::sendTo(std::span<const std::uint8_t> bytes, const std::string& address, std::uint16_t port) {
    const int fd = descriptor();
    if (fd < 0) {
        errno = EBADF;
        return -1;
    }
    sockaddr_in remote;
    if (!makeAddress(address, port, remote)) {
        errno = EINVAL;
        return -1;
    }
    ssize_t n;
    do {
        n = ::sendto(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&remote),
                     sizeof(remote));
    } while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

void BroadcastSocket::close() {
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

}  // namespace Prelix10
