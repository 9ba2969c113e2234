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

}  // namespace Prelix10
