#pragma once

#include "prelix10/core/Export.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Prelix10 {

class OrvoNICInformation;

// The LAN port numbers, one project-wide setting read where ports are made.
struct PRELIX10_EXPORT LanPortNumbers {
    std::uint16_t data = 9100;
    std::uint16_t status = 9101;
    std::uint16_t discovery = 22222;
};

// The part of a printer's network-card record that the TCP ports read: the address to connect to, the MAC
// address, and the interface board's model name.
struct PRELIX10_EXPORT NetworkCardRecord {
    std::optional<std::string> ipAddress;
    std::optional<std::string> macAddress;
    std::optional<std::string> name;
    // The whole record the lookup found, kept for the model detection above the ports; none when the
    // creator set only the address.
    std::shared_ptr<const OrvoNICInformation> card = nullptr;
};

class PRELIX10_EXPORT NetworkPortSettings {
public:
    static LanPortNumbers ports();
    static void setPorts(const LanPortNumbers& ports);

    // Whether a usable IPv4 network exists; the network ports refuse to work without one. The default
    // looks for an IPv4 interface that is up, loopback included. That alone does not reach a printer on
    // 127.0.0.1: an open over LAN finds the printer through a discovery, which leaves loopback interfaces
    // out, so a printer on this machine needs LANOrvoDeviceDiscoveryManager::useLoopback first.
    using AvailabilityCheck = std::function<bool()>;
    static void setAvailabilityCheck(AvailabilityCheck check);
    static bool isNetworkAvailable();

    // Finds a printer on the LAN by one of its identifiers (IPv4 text, MAC text or the first-found text)
    // within timeout milliseconds and returns its record; raises "Device not found." when none answers.
    // Installed by the LAN discovery; without one, a lookup finds nothing.
    using NetworkCardLookup =
        std::function<NetworkCardRecord(const std::vector<std::string>& identifiers, std::int64_t timeout)>;
    static void setNetworkCardLookup(NetworkCardLookup lookup);
    static NetworkCardLookup networkCardLookup();
};

}  // namespace Prelix10
