#include "prelix10/wlan/APInfo.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

std::string APInfo::description() const {
    return PropertyDescription()
        .add("wlanMode", wlanMode)
        .add("ssid", ssid)
        .add("securityType", securityType)
        .add("password", password)
        .text();
}

std::string CurrentWLanInfo::description() const {
    return PropertyDescription()
        .add("ssid", ssid)
        .add("mode", mode)
        .add("channel", channel)
        .add("bssid", bssid)
        .add("securityType", securityType)
        .add("rssi", rssi)
        .add("isPassedSsid", isPassedSsid)
        .add("isPassedSecurityType", isPassedSecurityType)
        .add("isPassedSecurityKey", isPassedSecurityKey)
        .text();
}

std::string FoundAPInfo::description() const {
    return PropertyDescription()
        .add("ssid", ssid)
        .add("bssid", bssid)
        .add("channel", channel)
        .add("rssi", rssi)
        .add("security", security)
        .text();
}

}  // namespace Prelix10
