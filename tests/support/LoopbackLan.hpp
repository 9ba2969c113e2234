#pragma once

// Points the LAN layer at loopback for one test: one local network 127.0.0.1/255.0.0.0, discovery requests
// sent to 127.0.0.1 instead of a broadcast address, and the data, status and discovery port numbers of the
// virtual printer. Restores the defaults when it goes.

#include <cstdint>

#include "prelix10/core/NetworkInformation.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

namespace Prelix10::Testing {

class LoopbackLan {
public:
    LoopbackLan(std::uint16_t dataPort, std::uint16_t statusPort, std::uint16_t discoveryPort) {
        NetworkPortSettings::setAvailabilityCheck([] { return true; });
        LanPortNumbers ports;
        ports.data = dataPort;
        ports.status = statusPort;
        ports.discovery = discoveryPort;
        LANOrvoDeviceDiscoveryManager::useLoopback(ports);
    }
    ~LoopbackLan() {
        NetworkPortSettings::setPorts(LanPortNumbers{});
        NetworkPortSettings::setAvailabilityCheck(nullptr);
        LANOrvoDeviceDiscoveryManager::setBroadcastTargetOverride(std::nullopt);
        NetworkInformation::setProvider(nullptr);
    }
    LoopbackLan(const LoopbackLan&) = delete;
    LoopbackLan& operator=(const LoopbackLan&) = delete;
};

}  // namespace Prelix10::Testing
