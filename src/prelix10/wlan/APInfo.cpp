#include "prelix10/wlan/APInfo.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

std::string APInfo::description() const {
    return PropertyDescription()
        .add("wlanMode", wlanMode)
        .add("ssid", ssid)
        .add("securityType", securityType)
        // The pass phrase is a secret: descriptions go to the log.
        .add("password", std::string("***"))
        .text();
}

}  // namespace Prelix10
