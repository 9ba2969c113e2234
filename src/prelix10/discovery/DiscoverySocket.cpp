#include "prelix10/discovery/DiscoverySocket.hpp"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Prelix10 {

std::optional<std::uint32_t> DiscoverySocket::parseAddress(const std::string& text) {
    in_addr addr{};
    if (::inet_pton(AF_INET, text.c_str(), &addr) != 1) return std::nullopt;
    return ntohl(addr.s_addr);
}

int DiscoverySocket::open(const std::string& localAddress, const std::string& targetAddress, std::uint16_t targetPort) {
    close();
    const auto local = parseAddress(localAddress);
    const auto target = parseAddress(targetAddress);
    if (!local || !target) return EINVAL;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return errno;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = 0;
    addr.sin_addr.s_addr = htonl(*local);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    fd_ = fd;
    target_ = *target;
    targetPort_ = targetPort;
    return 0;
}

bool DiscoverySocket::send(const ByteBlock& bytes) {
    if (fd_ < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(targetPort_);
    to.sin_addr.s_addr = htonl(target_);
    const ssize_t n = ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&to), sizeof to);
    return n == static_cast<ssize_t>(bytes.size());
}

std::optional<ReceivedDatagram> DiscoverySocket::receive() {
    if (fd_ < 0) return std::nullopt;
    std::uint8_t buffer[1024];
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n < 0) return std::nullopt;
    ReceivedDatagram datagram;
    datagram.bytes.assign(buffer, buffer + n);
    datagram.sourceAddress = ntohl(from.sin_addr.s_addr);
    datagram.sourcePort = ntohs(from.sin_port);
    return datagram;
}

void DiscoverySocket::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace Prelix10
