#pragma once

#include "prelix10/core/Export.hpp"

#include <string>

#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {

// One access point found by the device's scan; security is the device's own text.
class PRELIX10_EXPORT FoundAPInfo {
public:
    FoundAPInfo(std::string ssid, std::string bssid, int channel, int rssi, std::string security)
        : ssid(std::move(ssid)), bssid(std::move(bssid)), channel(channel), rssi(rssi), security(std::move(security)) {}

    std::string ssid;
    std::string bssid;
    int channel;
    int rssi;
    std::string security;

    std::string description() const;
};

}  // namespace Prelix10
