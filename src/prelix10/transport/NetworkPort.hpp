#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/GenericCache.hpp"
#include "prelix10/platform/TcpConnection.hpp"
#include "prelix10/transport/BaseRawPort.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

namespace Prelix10 {

// What a network transport says of itself: its identifiers, how the device is located, how the connection
// is made.
class NetworkPortProtocol {
public:
    virtual ~NetworkPortProtocol() = default;
    virtual std::vector<std::string> networkIdentifiers() const = 0;
    virtual void getNICInformation(std::int64_t timeout, BaseRawPortProtocol::Completion completion) = 0;
    virtual void startConnection(std::int64_t timeout, BaseRawPortProtocol::Completion completion) = 0;
};

// The raw-port hooks over a socket connection: a receive thread fills the response cache, writes continue
// from the first unsent byte and never resend accepted bytes, and the end of the peer's stream marks the
// port as no longer connected.
class NetworkPort : public BaseRawPort, public BaseRawPortProtocol {
public:
    static constexpr int kResponseCacheSize = 65535;
    ~NetworkPort() override;

    bool internalIsConnected() const override;
    InterfaceType internalInterfaceType() const override { return InterfaceType::lan; }
    std::vector<std::string> internalIdentifiers() const override;
    void internalCheckAvailability() override;
    void internalFindDevice(std::int64_t timeout, Completion completion) override;
    void internalOpen(std::int64_t timeout, Completion completion) override;
    void internalClose() override;
    void internalReadOnce(std::int64_t size, ReadCompletion completion) override;
    void internalReadOnce(ByteRange range, ReadCompletion completion) override;
    void internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) override;
    void internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) override;

    // Also releases a connection whose peer has already closed it.
    void close() override;
    // Wakes when bytes arrive (or the stream ends) after the previous wait returned.
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override;

    // The bytes received and not yet taken (for tests and diagnostics).
    int bufferedByteCount() const { return responseCache_.unreadCount(); }

protected:
    NetworkPort(std::string identifier, std::string actualIdentifier)
        : BaseRawPort(std::move(identifier), std::move(actualIdentifier)) {}

    // Installs an established connection and starts receiving into the response cache.
    void adoptConnection(std::unique_ptr<TcpConnection> connection);
    void adoptConnection(std::unique_ptr<UdpConnection> connection);
    void appendReceived(std::span<const std::uint8_t> bytes);
    bool hasConnection() const;
    // Cancels the connection and joins its receive thread. The most derived port calls it first thing in
    // its destructor, so that the thread never sees a partly destroyed port.
    void releaseConnection();

private:
    mutable std::mutex connectionMutex_;
    std::mutex arrivalMutex_;
    std::condition_variable arrivalCondition_;
    std::uint64_t arrivals_ = 0;
    std::uint64_t arrivalsSeen_ = 0;
    void noteArrival();
    GenericCache<std::uint8_t> responseCache_{kResponseCacheSize};
    std::unique_ptr<TcpConnection> tcp_;
    std::unique_ptr<UdpConnection> udp_;
};

// A TCP connection to a LAN printer. The connect target is the network-card record's IP address: the
// record comes from the LAN lookup, unless the creator sets it first.
class TCPPort final : public NetworkPort, public NetworkPortProtocol {
public:
    static constexpr const char* kFirstFoundDevice = "FirstFoundDevice__DefinedByOrvo";

    TCPPort(std::string identifier, std::uint16_t portNumber, std::optional<std::vector<std::string>> subIdentifiers = {});
    ~TCPPort() override { releaseConnection(); }

    std::string actualIdentifier() const override;
    std::vector<std::string> networkIdentifiers() const override;
    std::vector<std::string> internalIdentifiers() const override { return networkIdentifiers(); }
    void getNICInformation(std::int64_t timeout, Completion completion) override;
    void startConnection(std::int64_t timeout, Completion completion) override;

    NetworkCardRecord getNICInformation(const std::vector<std::string>& identifiers, std::int64_t timeout);
    void connect(const std::string& ipAddress, std::int64_t timeout);

    std::uint16_t portNumber() const { return portNumber_; }
    std::optional<NetworkCardRecord> nicInformation() const;
    void setNicInformation(std::optional<NetworkCardRecord> record);
    const std::optional<std::vector<std::string>>& subIdentifiers() const { return subIdentifiers_; }

private:
    const std::uint16_t portNumber_;
    mutable std::mutex recordMutex_;
    std::optional<NetworkCardRecord> nicInformation_;
    const std::optional<std::vector<std::string>> subIdentifiers_;
};

// A unicast UDP connection from a fixed local endpoint.
class UDPPort final : public NetworkPort, public NetworkPortProtocol {
public:
    UDPPort(std::string localAddress, std::uint16_t localPortNumber, std::string remoteAddress,
            std::uint16_t remotePortNumber);
    ~UDPPort() override { releaseConnection(); }

    std::vector<std::string> networkIdentifiers() const override { return {}; }
    std::vector<std::string> internalIdentifiers() const override { return {}; }
    void getNICInformation(std::int64_t, Completion completion) override { completion(std::nullopt); }
    void startConnection(std::int64_t timeout, Completion completion) override;

    // The local port actually bound (useful when created with 0).
    std::uint16_t boundLocalPort() const { return boundLocalPort_; }

private:
    std::string localAddress_;
    std::uint16_t localPortNumber_;
    std::string remoteAddress_;
    std::uint16_t remotePortNumber_;
    std::uint16_t boundLocalPort_ = 0;
};

}  // namespace Prelix10
