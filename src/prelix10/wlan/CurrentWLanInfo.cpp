#include "prelix10/wlan/CurrentWLanInfo.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

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

}  // namespace Prelix10
