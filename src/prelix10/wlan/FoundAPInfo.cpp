#include "prelix10/wlan/FoundAPInfo.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

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
