#include <gtest/gtest.h>

#include "prelix10/core/NetworkInformation.hpp"

using namespace Prelix10;

namespace {
InterfaceAddressEntry ipv4(const char* name, const char* address, const char* mask, bool up = true,
                           bool loopback = false) {
    return {name, true, up, loopback, address, mask};
}

struct ProviderScope {
    explicit ProviderScope(NetworkInformation::Provider provider) { NetworkInformation::setProvider(std::move(provider)); }
    ~ProviderScope() { NetworkInformation::setProvider(nullptr); }
};
}  // namespace

TEST(NetworkInformation, KeepsIPv4InterfacesThatAreUpAndNotLoopback) {
    ProviderScope scope([] {
        return std::vector<InterfaceAddressEntry>{
            ipv4("eth0", "192.168.1.20", "255.255.255.0"),
            ipv4("lo", "127.0.0.1", "255.0.0.0", true, true),
            {"eth0", false, true, false, "fe80::1", "ffff::"},
            ipv4("wlan0", "10.0.0.9", "255.0.0.0", false),
            ipv4("br0", "192.168.2.1", "255.255.255.0"),
            ipv4("eth1", "169.254.10.20", "255.255.0.0"),
            ipv4("eth2", "169.254.10.21", "255.255.255.0"),
        };
    });
    auto list = NetworkInformation::listIPv4Interfaces();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].ipAddress(), "192.168.1.20");
    EXPECT_EQ(list[0].subnetMask(), "255.255.255.0");
    EXPECT_EQ(list[1].ipAddress(), "192.168.2.1");
    EXPECT_EQ(list[2].ipAddress(), "169.254.10.21");
    EXPECT_EQ(list[0].description(), "ipAddress : 192.168.1.20, subnetMask : 255.255.255.0");

    EXPECT_EQ(NetworkInformation::localIPAddress("192.168.1.50"), "192.168.1.20");
    EXPECT_EQ(NetworkInformation::localIPAddress("192.168.2.7"), "192.168.2.1");
    EXPECT_EQ(NetworkInformation::localIPAddress("10.0.0.5"), "");  // the interface that is down is skipped
}

TEST(NetworkInformation, UnreadableListGivesNothing) {
    ProviderScope scope([] { return std::nullopt; });
    EXPECT_TRUE(NetworkInformation::listIPv4Interfaces().empty());
    EXPECT_EQ(NetworkInformation::localIPAddress("192.168.1.50"), "");
}

TEST(NetworkInformation, NetworkAddress) {
    struct Case {
        const char *address, *mask, *network;
    } cases[] = {
        {"192.168.1.20", "255.255.255.0", "192.168.1.0"},
        {"10.1.2.3", "255.0.0.0", "10.0.0.0"},
        {"10.x.2.3", "255.255.255.255", "10.0.2.3"},
        {"+10.1.2.3", "255.255.255.255", "10.1.2.3"},
        {"300.1.2.3", "255.255.255.255", "0.1.2.3"},
        {"1.2.3.4.5", "255.255.255.255", "1.2.3.4.0"},  // more parts than the mask: no out-of-range read
        {"1.2.3.4", "255.255", "1.2.0.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NetworkInformation::networkAddress(c.address, c.mask), c.network) << c.address << " " << c.mask;
}

TEST(NetworkInformation, SystemListHasNoLoopbackEntry) {
    // Reads the real list; only checks the Linux rule, whatever interfaces this machine has.
    for (const auto& info : NetworkInformation::listIPv4Interfaces()) EXPECT_NE(info.ipAddress(), "127.0.0.1");
    EXPECT_TRUE(NetworkInformation::systemInterfaces().has_value());
}
