#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Prelix10 {

// One entry of the system's interface address list, as the provider reports it.
struct InterfaceAddressEntry {
    std::string name;
    bool isIPv4 = false;
    bool isUp = false;
    bool isLoopback = false;
    std::string address;  // numeric host text
    std::string netmask;  // numeric host text
    // An IPv6 entry has no mask here; its address is numeric host text too.
    bool isIPv6 = false;
};

// The device's own IPv4 interfaces. Usable are the entries that are IPv4, up and not loopback, except
// self-assigned link-local addresses (169.254.x.x with the mask 255.255.0.0).
class NetworkInformation {
public:
    // Reads the interface list; nullopt when it cannot be read.
    using Provider = std::function<std::optional<std::vector<InterfaceAddressEntry>>()>;

    NetworkInformation(std::string ipAddress, std::string subnetMask)
        : ipAddress_(std::move(ipAddress)), subnetMask_(std::move(subnetMask)) {}

    const std::string& ipAddress() const { return ipAddress_; }
    const std::string& subnetMask() const { return subnetMask_; }
    std::string description() const;

    // One per usable interface address, in the system's order; empty when the list cannot be read.
    static std::vector<NetworkInformation> listIPv4Interfaces();
    // The address of the first usable interface on the same network as ipAddress; empty when none.
    static std::string localIPAddress(const std::string& ipAddress);
    // The dotted-decimal network address. Parts that are not numbers 0 to 255 count as 0, and so do mask
    // parts missing for an address with more parts than the mask.
    static std::string networkAddress(const std::string& ipAddress, const std::string& subnetMask);

    // Replaces the system's list (tests); an empty function restores it.
    static void setProvider(Provider provider);
    // Every entry, through the provider a test set; nullopt when the list cannot be read.
    static std::optional<std::vector<InterfaceAddressEntry>> interfaces();
    // The system's list through getifaddrs.
    static std::optional<std::vector<InterfaceAddressEntry>> systemInterfaces();

private:
    std::string ipAddress_;
    std::string subnetMask_;
};

}  // namespace Prelix10
