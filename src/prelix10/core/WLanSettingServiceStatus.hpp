#pragma once

#include <cstdint>
#include <string>

namespace Prelix10 {

// The state of a setting device's wireless LAN as its advertisement reports it, fixed at creation.
class WLanSettingServiceStatus {
public:
    WLanSettingServiceStatus() = default;
    WLanSettingServiceStatus(bool infrastructureMode, bool connectedWiredLan, bool wlanDisabled, bool apConnectionSucceeded)
        : isInfrastructureMode(infrastructureMode),
          isConnectedWiredLan(connectedWiredLan),
          isWlanDisabled(wlanDisabled),
          isAPConnectionSucceeded(apConnectionSucceeded) {}

    // From the four low bits of a status byte: 0x08 infrastructure mode, 0x04 wired LAN connected,
    // 0x02 wireless LAN disabled, 0x01 access-point connection succeeded.
    static WLanSettingServiceStatus fromFlags(std::uint8_t flags) {
        return WLanSettingServiceStatus((flags & 0x08) != 0, (flags & 0x04) != 0, (flags & 0x02) != 0,
                                        (flags & 0x01) != 0);
    }

    bool isInfrastructureMode = false;
    bool isConnectedWiredLan = false;
    bool isWlanDisabled = false;
    bool isAPConnectionSucceeded = false;

    bool operator==(const WLanSettingServiceStatus&) const = default;

    std::string description() const {
        auto b = [](bool v) { return v ? std::string("true") : std::string("false"); };
        return "isInfrastructureMode : " + b(isInfrastructureMode) + ", isConnectedWiredLan : " + b(isConnectedWiredLan) +
               ", isWlanDisabled : " + b(isWlanDisabled) + ", isAPConnectionSucceeded : " + b(isAPConnectionSucceeded);
    }
};

}  // namespace Prelix10
