#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace Prelix10 {

// How a connection's byte stream ended, reported once to the state handler.
enum class SocketStreamEnd {
    closedByPeer,  // orderly end of stream
    failed,        // a hard receive error (the errno is passed along)
};

// The outcome of a send: the bytes the kernel accepted, and 0 or the errno that stopped it
// (ETIMEDOUT when the time ran out first).
struct SocketSendResult {
    std::size_t sent = 0;
    int error = 0;
};

// A client TCP connection on a POSIX socket: connect with a deadline (non-blocking connect and poll),
// a receive thread that hands over at most one chunk per pass, sends that never raise SIGPIPE and
// continue from the first unsent byte, and a cancel that joins the thread.
class TcpConnection {
public:
    using ReceiveHandler = std::function<void(std::span<const std::uint8_t>)>;
    using EndHandler = std::function<void(SocketStreamEnd, int error)>;

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Returns 0 when connected, else the errno (ECONNREFUSED, ETIMEDOUT when the deadline passed,
    // EINVAL for an address that is not IPv4 text, ...). On failure the socket is closed again.
    int connect(const std::string& ipv4Address, std::uint16_t port, std::chrono::milliseconds timeout);

    // Starts the receive thread. onData runs on it with at most chunkSize bytes per call; onEnd runs on it
    // once when the stream ends by itself (not after cancel()).
    void startReceiving(ReceiveHandler onData, EndHandler onEnd, std::size_t chunkSize = 1024);

    SocketSendResult send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout);

    // Shuts the socket down, joins the receive thread (unless called on it) and closes the descriptor.
    void cancel();

    bool isOpen() const { return fd_.load() >= 0; }
    // True once the stream has ended by itself (peer close or hard error).
    bool hasEnded() const { return ended_.load(); }

private:
    std::atomic<int> fd_{-1};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> ended_{false};
    std::mutex mutex_;
    std::thread receiver_;
};

// A unicast UDP socket bound to a local endpoint and connected to one remote endpoint.
class UdpConnection {
public:
    using ReceiveHandler = std::function<void(std::span<const std::uint8_t>)>;

    UdpConnection() = default;
    ~UdpConnection();
    UdpConnection(const UdpConnection&) = delete;
    UdpConnection& operator=(const UdpConnection&) = delete;

    // Binds to localAddress:localPort (0 for any free port) and connects to the remote; 0 or an errno.
    int open(const std::string& localAddress, std::uint16_t localPort, const std::string& remoteAddress,
             std::uint16_t remotePort);
    // Starts the receive thread; one call per datagram.
    void startReceiving(ReceiveHandler onDatagram);
    SocketSendResult send(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout);
    void cancel();
    bool isOpen() const { return fd_.load() >= 0; }
    std::uint16_t localPort() const;

private:
    std::atomic<int> fd_{-1};
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::thread receiver_;
};

}  // namespace Prelix10
