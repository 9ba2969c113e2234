#include <gtest/gtest.h>

#include <unordered_set>

#include "prelix10/core/WLanSettingServiceStatus.hpp"
#include "prelix10/wlan/APInfo.hpp"
#include "prelix10/wlan/CurrentWLanInfo.hpp"
#include "prelix10/wlan/FoundAPInfo.hpp"
#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {
namespace {

TEST(WLanMode, RawValues) {
    EXPECT_EQ(WLanModes::fromRawValue(0x30), WLanMode::unknown);
    EXPECT_EQ(WLanModes::fromRawValue(0x31), WLanMode::infrastructure);
    EXPECT_EQ(WLanModes::fromRawValue(0x32), WLanMode::accessPoint);
    EXPECT_EQ(WLanModes::fromRawValue(0x33), std::nullopt);
    EXPECT_EQ(WLanModes::fromRawValue(0x00), std::nullopt);
    EXPECT_EQ(WLanModes::description(WLanMode::accessPoint), "accessPoint");
    EXPECT_EQ(WLanModes::rawValue(WLanMode::infrastructure), 0x31);
}

TEST(WLanSecurityType, RawValuesCompareByteForByte) {
    using T = WLanSecurityType;
    auto of = [](std::initializer_list<std::uint8_t> bytes) {
        const std::vector<std::uint8_t> v(bytes);
        return T::fromRawValue(v);
    };
    EXPECT_EQ(of({'1', '0'}).value(), T::Case::automatic);
    EXPECT_EQ(of({'1'}).value(), T::Case::wpaPersonal);
    EXPECT_EQ(of({'3'}).value(), T::Case::wpa3SAE);
    EXPECT_EQ(of({0x00}).value(), T::Case::unknown);
    EXPECT_EQ(of({}).value(), T::Case::unknown);
    EXPECT_EQ(of({'0', '1'}).value(), T::Case::unknown);
    EXPECT_EQ(of({'4'}).value(), T::Case::unknown);
    EXPECT_EQ(T::unknown.rawValue(), std::vector<std::uint8_t>{0x00});
    EXPECT_EQ(T::automatic.rawValue(), (std::vector<std::uint8_t>{0x31, 0x30}));
    EXPECT_EQ(T::automatic.description(), "auto");
    EXPECT_EQ(T::wpa2Personal.description(), "wpa2Personal");
    EXPECT_EQ(T::open, T(T::Case::open));
    EXPECT_NE(T::open, T::wpaPersonal);
    std::unordered_set<T> set(T::allCases().begin(), T::allCases().end());
    EXPECT_EQ(set.size(), 6u);
}

TEST(WLanSettingServiceStatus, FlagsFromTheLowNibble) {
    EXPECT_EQ(WLanSettingServiceStatus::fromFlags(0x2B & 0x0F), WLanSettingServiceStatus(true, false, true, true));
    EXPECT_EQ(WLanSettingServiceStatus::fromFlags(0x04), WLanSettingServiceStatus(false, true, false, false));
}

TEST(WLanInfo, DescriptionsListPropertiesInOrder) {
    const APInfo ap(WLanMode::infrastructure, "shop", WLanSecurityType::wpa2Personal, "secret");
    EXPECT_EQ(ap.description(), "wlanMode : infrastructure, ssid : shop, securityType : wpa2Personal, password : ***");
    const FoundAPInfo found("cafe", "00:11:22:33:44:55", 6, -40, "WPA2");
    EXPECT_EQ(found.description(), "ssid : cafe, bssid : 00:11:22:33:44:55, channel : 6, rssi : -40, security : WPA2");
    const CurrentWLanInfo current("a", WLanMode::accessPoint, 11, "b", WLanSecurityType::automatic, -60, true, false, true);
    EXPECT_EQ(current.description(),
              "ssid : a, mode : accessPoint, channel : 11, bssid : b, securityType : auto, rssi : -60, isPassedSsid : "
              "true, isPassedSecurityType : false, isPassedSecurityKey : true");
}

}  // namespace
}  // namespace Prelix10
