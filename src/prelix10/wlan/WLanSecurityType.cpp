#include "prelix10/wlan/WLanSecurityType.hpp"

#include <algorithm>

namespace Prelix10 {

const WLanSecurityType WLanSecurityType::unknown{Case::unknown};
const WLanSecurityType WLanSecurityType::open{Case::open};
const WLanSecurityType WLanSecurityType::wpaPersonal{Case::wpaPersonal};
const WLanSecurityType WLanSecurityType::wpa2Personal{Case::wpa2Personal};
const WLanSecurityType WLanSecurityType::wpa3SAE{Case::wpa3SAE};
const WLanSecurityType WLanSecurityType::automatic{Case::automatic};

const std::vector<WLanSecurityType>& WLanSecurityType::allCases() {
    static const std::vector<WLanSecurityType> cases{Case::unknown,      Case::open,    Case::wpaPersonal,
                                                     Case::wpa2Personal, Case::wpa3SAE, Case::automatic};
    return cases;
}

WLanSecurityType WLanSecurityType::fromRawValue(std::span<const std::uint8_t> raw) {
    for (const auto& candidate : allCases()) {
        const auto bytes = candidate.rawValue();
        if (std::equal(bytes.begin(), bytes.end(), raw.begin(), raw.end())) return candidate;
    }
    return unknown;
}

std::vector<std::uint8_t> WLanSecurityType::rawValue() const {
    switch (case_) {
        case Case::open: return {0x30};
        case Case::wpaPersonal: return {0x31};
        case Case::wpa2Personal: return {0x32};
        case Case::wpa3SAE: return {0x33};
        case Case::automatic: return {0x31, 0x30};
        case Case::unknown: break;
    }
    return {0x00};
}

std::string WLanSecurityType::description() const {
    switch (case_) {
        case Case::open: return "open";
        case Case::wpaPersonal: return "wpaPersonal";
        case Case::wpa2Personal: return "wpa2Personal";
        case Case::wpa3SAE: return "wpa3SAE";
        case Case::automatic: return "auto";
        case Case::unknown: break;
    }
    return "unknown";
}

}  // namespace Prelix10
