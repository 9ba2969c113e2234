#pragma once

#include "prelix10/core/Export.hpp"

#include <string>

#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {

// What the device reports of its current wireless state.
class PRELIX10_EXPORT CurrentWLanInfo {
public:
    CurrentWLanInfo(std::string ssid, WLanMode mode, int channel, std::string bssid, WLanSecurityType securityType,
                    int rssi, bool isPassedSsid, bool isPassedSecurityType, bool isPassedSecurityKey)
        : ssid(std::move(ssid)),
          mode(mode),
          channel(channel),
          bssid(std::move(bssid)),
          securityType(securityType),
          rssi(rssi),
          isPassedSsid(isPassedSsid),
          isPassedSecurityType(isPassedSecurityType),
          isPassedSecurityKey(isPassedSecurityKey) {}

    const std::string ssid;
    const WLanMode mode;
    const int channel;
    const std::string bssid;
    const WLanSecurityType securityType;
    const int rssi;
    const bool isPassedSsid;
    const bool isPassedSecurityType;
    const bool isPassedSecurityKey;

    std::string description() const;
};

}  // namespace Prelix10
