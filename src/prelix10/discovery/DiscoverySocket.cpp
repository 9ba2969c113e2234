#include "prelix10/discovery/DiscoverySocket.hpp"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>

namespace Prelix10 {

namespace {

// The datagrams a discovery reply is read into are cut to this size.
constexpr std::size_t kDatagramSize = 1024;

}  // namespace

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
    if (const int error = socket_.open(localAddress, 0); error != 0) return error;
    // Sends must not block the loop either: a full send buffer fails the send, and the socket is made anew.
    const int fd = socket_.descriptor();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        const int error = errno;
        socket_.close();
        return error;
    }
    targetText_ = targetAddress;
    target_ = *target;
    targetPort_ = targetPort;
    return 0;
}

bool DiscoverySocket::send(const ByteBlock& bytes) {
    if (!socket_.isOpen()) return false;
    const long n = socket_.sendTo(std::span<const std::uint8_t>(bytes), targetText_, targetPort_);
    return n == static_cast<long>(bytes.size());
}

std::optional<ReceivedDatagram> DiscoverySocket::receive() {
    ReceivedDatagram datagram;
    datagram.bytes = socket_.receiveFrom(kDatagramSize, datagram.sourceAddress, datagram.sourcePort);
    if (datagram.bytes.empty()) return std::nullopt;
    return datagram;
}

void DiscoverySocket::close() { socket_.close(); }

}  // namespace Prelix10
