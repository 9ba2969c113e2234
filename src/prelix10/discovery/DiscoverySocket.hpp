#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "prelix10/platform/BroadcastSocket.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// One datagram and where it came from.
struct ReceivedDatagram {
    ByteBlock bytes;
    std::uint32_t sourceAddress = 0;  // host order
    std::uint16_t sourcePort = 0;
};

// A UDP socket bound to one local address, allowed to broadcast, that sends to one target and receives
// without blocking. Owned by one discovery loop.
//
// The discovery does not go through the UDP broadcast raw port, though that port shares this socket's set-up
// (both are a BroadcastSocket). The port's reads run on its queue, keep each datagram in a response cache
// until a later read takes it, and drop the sender; the discovery needs every reply once, as it arrives,
// with its sender's address and port (a reply is taken only from where its request went), inside its own
// loop that is bounded in time and stopped by its cancel.
class DiscoverySocket {
public:
    DiscoverySocket() = default;
    ~DiscoverySocket() { close(); }
    DiscoverySocket(const DiscoverySocket&) = delete;
    DiscoverySocket& operator=(const DiscoverySocket&) = delete;

    // 0 or an errno.
    int open(const std::string& localAddress, const std::string& targetAddress, std::uint16_t targetPort);
    bool isOpen() const { return socket_.isOpen(); }
    // True when the whole datagram went out.
    bool send(const ByteBlock& bytes);
    // The next datagram waiting (at most 1024 bytes of it), none when nothing is waiting.
    std::optional<ReceivedDatagram> receive();
    void close();

    std::uint32_t targetAddress() const { return target_; }
    std::uint16_t targetPort() const { return targetPort_; }

    // Dotted IPv4 text to a host-order address; none when it is not one.
    static std::optional<std::uint32_t> parseAddress(const std::string& text);

private:
    BroadcastSocket socket_;
    std::string targetText_;
    std::uint32_t target_ = 0;
    std::uint16_t targetPort_ = 0;
};

}  // namespace Prelix10
