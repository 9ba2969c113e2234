#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"
#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

namespace Prelix10 {

// Finds printers on the device's IPv4 networks: every half second it sends the discovery request to each
// network's directed broadcast address (and, for a lookup by address, to that address too) on the
// discovery port, and turns each reply into a printer named by its MAC address. Only replies that come
// from the discovery port of an address the request went to (the target, or a host of the broadcast
// network) are read.
class PRELIX10_EXPORT LANOrvoDeviceDiscoveryManager final : public BaseOrvoDeviceDiscoveryManager,
                                            public BaseOrvoDeviceDiscoveryManagerProtocol {
public:
    using FindCompletion = std::function<void(std::shared_ptr<OrvoPrinter>, std::optional<Prelix10Error>)>;
    using DidFind = std::function<void(std::shared_ptr<OrvoPrinter>)>;

    void internalCheckAvailability() override;
    void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) override;

    // Looks one printer up by IPv4 address, MAC address or the first-found identifier; the completion runs
    // exactly once.
    void findDevice(const std::vector<std::string>& identifiers, std::int64_t timeout, FindCompletion completion);
    std::shared_ptr<OrvoPrinter> findDevice(const std::vector<std::string>& identifiers, std::int64_t timeout);

    static void checkAvailability();
    static std::string getDirectedBroadcastAddress(const std::string& ipAddress, const std::string& subnetMask);
    static bool isVersion(const std::optional<std::string>& version, const std::string& atLeast);
    // The printer one reply describes, or none.
    static std::shared_ptr<OrvoPrinter> discoverOrvoPrinter(ByteView reply);

    // Sends every request to this address in place of the networks' broadcast addresses (loopback tests
    // and demos); none restores the broadcast.
    static void setBroadcastTargetOverride(std::optional<std::string> address);
    static std::optional<std::string> broadcastTargetOverride();
    // Keeps the LAN on this machine (tests, demos, a printer served locally): one local network
    // 127.0.0.1/255.0.0.0, every discovery request sent to 127.0.0.1, and these port numbers.
    static void useLoopback(const LanPortNumbers& ports);
    // Makes the TCP ports resolve their identifiers through this discovery. Idempotent.
    static void installNetworkCardLookup();

private:
    struct Run;
    static void discover(std::shared_ptr<CancellationToken> token, std::optional<std::string> targetIPAddress,
                         DidFind didFind, std::function<void()> didFinish);
    static void runDiscoveryLoop(std::shared_ptr<Run> run, std::string localIPAddress, std::string subnetMask,
                                 std::string broadcastAddress);
};

}  // namespace Prelix10
