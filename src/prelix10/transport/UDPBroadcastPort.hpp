#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "prelix10/core/GenericCache.hpp"
#include "prelix10/platform/BroadcastSocket.hpp"
#include "prelix10/transport/BaseRawPort.hpp"

namespace Prelix10 {

// The raw port of the LAN discovery: a datagram socket bound to the device's own IPv4 address that sends
// every write, as one datagram, to one (broadcast) address, and keeps each datagram it receives whole as
// one element of its response cache. Datagrams are collected when a read runs; reads hand them out one at
// a time, oldest first.
class UDPBroadcastPort final : public BaseRawPort, public BaseRawPortProtocol {
public:
    static constexpr int kResponseCacheSize = 65535;
    // Received datagrams are cut to this many bytes.
    static constexpr std::size_t kDatagramSize = 1024;
    // One read takes at most this many datagrams from the socket, so a flood cannot stretch it.
    static constexpr int kDatagramsPerRead = 64;
    // Unread datagrams are held up to this many bytes (datagrams of the full size); the oldest go first.
    static constexpr std::size_t kCacheByteLimit = 1024 * 1024;
    static constexpr int kMaxUnreadDatagrams = static_cast<int>(kCacheByteLimit / kDatagramSize);

    UDPBroadcastPort(std::string localAddress, std::uint16_t localPortNumber, std::string remoteAddress,
                     std::uint16_t remotePortNumber);
    ~UDPBroadcastPort() override;

    bool internalIsConnected() const override { return socket_.descriptor() >= 0; }
    InterfaceType internalInterfaceType() const override { return InterfaceType::lan; }
    std::vector<std::string> internalIdentifiers() const override { return {}; }
    void internalCheckAvailability() override;
    void internalFindDevice(std::int64_t, Completion completion) override { completion(std::nullopt); }
    void internalOpen(std::int64_t timeout, Completion completion) override;
    void internalClose() override;
    // Takes the oldest datagram and delivers its first size bytes; the rest of it is dropped.
    void internalReadOnce(std::int64_t size, ReadCompletion completion) override;
    // Takes the oldest datagram and delivers its bytes at the offsets of the range. A range outside the
    // datagram is refused with an argument error and leaves the datagram in place.
    void internalReadOnce(ByteRange range, ReadCompletion completion) override;
    // The first size bytes of the oldest datagram, which stays.
    void internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) override;
    void internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) override;

    // Returns early when a datagram is waiting.
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override;

    // The socket descriptor, -1 while closed.
    int socketDescriptor() const { return socket_.descriptor(); }
    // The local port the socket is bound to (useful when made with 0); 0 while closed.
    std::uint16_t boundLocalPort() const { return socket_.localPort(); }
    const std::string& localAddress() const { return localAddress_; }
    std::uint16_t localPortNumber() const { return localPortNumber_; }
    const std::string& remoteAddress() const { return remoteAddress_; }
    std::uint16_t remotePortNumber() const { return remotePortNumber_; }

private:
    // Moves every datagram waiting in the socket into the response cache.
    void receiveWaiting();
    // The oldest datagram out of the cache; consumed elements are dropped once they outnumber the rest, so
    // that reads stay cheap and taken datagrams do not stay in memory.
    void dropOldest();

    const std::string localAddress_;
    const std::uint16_t localPortNumber_;
    const std::string remoteAddress_;
    const std::uint16_t remotePortNumber_;
    BroadcastSocket socket_;
    GenericCache<ByteBlock> responseCache_{kResponseCacheSize};
};

}  // namespace Prelix10
