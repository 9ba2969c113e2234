#pragma once

#include <string>

#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {

// The access point the app wants the device to join. Nothing is checked here; the module control checks the
// values before it sends them.
class APInfo {
public:
    APInfo(WLanMode wLanMode, std::string ssid, WLanSecurityType securityType, std::string password)
        : wlanMode(wLanMode), ssid(std::move(ssid)), securityType(securityType), password(std::move(password)) {}

    WLanMode wlanMode;
    std::string ssid;
    WLanSecurityType securityType;
    std::string password;

    std::string description() const;
};

// What the device reports of its current wireless state.
class CurrentWLanInfo {
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

// One access point found by the device's scan; security is the device's own text.
class FoundAPInfo {
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
