#pragma once

#include <string>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {

// The AT-style requests of the wireless LAN module. Every request ends in one CR; user texts go in as their
// UTF-8 bytes, unquoted: the module control refuses texts with CR, LF or NUL before it builds a request.
class ATCommand {
public:
    class Lupek599 {
    public:
        // "ATWPROF=" + the mode digit + CR.
        static ByteBlock createChangeTargetModeCommand(WLanMode wlanMode);
        // "ATWSSID=" + SSID + CR.
        static ByteBlock createSetSsidCommand(const std::string& ssid);
        // "ATWSEC=" + the security type's bytes + CR.
        static ByteBlock createSetSecurityTypeCommand(const WLanSecurityType& securityType);
        // "ATWPSK=" + pass phrase (possibly none) + CR.
        static ByteBlock createSetPasswordCommand(const std::string& password);
        // "ATWSET=1" + CR.
        static ByteBlock createApplySettingCommand();
    };
};

}  // namespace Prelix10
