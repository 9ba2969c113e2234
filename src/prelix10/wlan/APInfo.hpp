#pragma once

#include "prelix10/core/Export.hpp"

#include <string>

#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {

// The access point the app wants the device to join. Nothing is checked here; the module control checks the
// values before it sends them.
class PRELIX10_EXPORT APInfo {
public:
    APInfo(WLanMode wLanMode, std::string ssid, WLanSecurityType securityType, std::string password)
        : wlanMode(wLanMode), ssid(std::move(ssid)), securityType(securityType), password(std::move(password)) {}

    WLanMode wlanMode;
    std::string ssid;
    WLanSecurityType securityType;
    std::string password;

    std::string description() const;
};

}  // namespace Prelix10
