#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Prelix10 {

// A UDP socket bound to one local IPv4 endpoint and allowed to send to broadcast addresses. Receives never
// block: each takes one datagram that is already waiting. Sends never raise SIGPIPE. Closing shuts both
// directions down and releases the descriptor. One user at a time; the descriptor reads safely from any
// thread.
class BroadcastSocket {
public:
    BroadcastSocket() = default;
    ~BroadcastSocket() { close(); }
    BroadcastSocket(const BroadcastSocket&) = delete;
    BroadcastSocket& operator=(const BroadcastSocket&) = delete;

    // Creates the socket, binds it to localAddress:localPort (0 for any free port) and allows broadcasts.
    // 0 or the errno of the step that failed (EINVAL for an address that is not IPv4 text, EISCONN when
    // already open); after a failure nothing stays open.
    int open(const std::string& localAddress, std::uint16_t localPort);
    // The descriptor, or -1 while closed. 0 is a descriptor like any other.
    int descriptor() const { return fd_.load(); }
    bool isOpen() const { return descriptor() >= 0; }
    std::uint16_t localPort() const;

    // One waiting datagram, cut to maxSize bytes (the rest of a longer one is lost). Empty when nothing is
    // waiting, on an error, and for a datagram without bytes.
    std::vector<std::uint8_t> receive(std::size_t maxSize);
    // As receive, and gives the sender's IPv4 address and port (host order) of the datagram taken.
    std::vector<std::uint8_t> receiveFrom(std::size_t maxSize, std::uint32_t& sourceAddress, std::uint16_t& sourcePort);
    // Waits up to maxWait for a datagram to be waiting; true when one is.
    bool waitReadable(std::chrono::milliseconds maxWait) const;
    // Sends one datagram to address:port; the count sent, or -1 with errno set.
    long sendTo(std::span<const std::uint8_t> bytes, const std::string& address, std::uint16_t port);

    void close();

private:
    std::atomic<int> fd_{-1};
};

}  // namespace Prelix10
