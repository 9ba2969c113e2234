#include "prelix10/core/NetworkInformation.hpp"

#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <sys/socket.h>

#include <memory>
#include <mutex>

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

namespace {

// Never destroyed: discovery reads them from worker threads, which may still run while the process exits.
std::mutex& providerMutex() {
    static auto* m = new std::mutex();
    return *m;
}
NetworkInformation::Provider& providerSlot() {
    static auto* slot = new NetworkInformation::Provider();
    return *slot;
}

std::optional<std::vector<InterfaceAddressEntry>> readInterfaces() {
    NetworkInformation::Provider provider;
    {
        std::lock_guard guard(providerMutex());
        provider = providerSlot();
    }
    return provider ? provider() : NetworkInformation::systemInterfaces();
}

bool isUsable(const InterfaceAddressEntry& entry) {
    if (!entry.isIPv4 || !entry.isUp || entry.isLoopback) return false;
    if (entry.address.rfind("169.254", 0) == 0 && entry.netmask == "255.255.0.0") return false;
    return true;
}

std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto dot = text.find('.', start);
        parts.push_back(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts;
}

// An unsigned 8-bit decimal number with an optional leading "+"; anything else counts as 0.
unsigned partValue(const std::string& part) {
    std::size_t i = part.size() > 0 && part[0] == '+' ? 1 : 0;
    if (i >= part.size()) return 0;
    unsigned value = 0;
    for (; i < part.size(); ++i) {
        if (part[i] < '0' || part[i] > '9') return 0;
        value = value * 10 + static_cast<unsigned>(part[i] - '0');
        if (value > 255) return 0;
    }
    return value;
}

}  // namespace

std::string NetworkInformation::description() const {
    return PropertyDescription().add("ipAddress", ipAddress_).add("subnetMask", subnetMask_).text();
}

void NetworkInformation::setProvider(Provider provider) {
    std::lock_guard guard(providerMutex());
    providerSlot() = std::move(provider);
}

std::optional<std::vector<InterfaceAddressEntry>> NetworkInformation::systemInterfaces() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return std::nullopt;
    std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> guard(list, ::freeifaddrs);
    std::vector<InterfaceAddressEntry> entries;
    for (const ifaddrs* it = list; it; it = it->ifa_next) {
        if (!it->ifa_addr || !it->ifa_name) continue;
        InterfaceAddressEntry entry;
        entry.name = it->ifa_name;
        entry.isIPv4 = it->ifa_addr->sa_family == AF_INET;
        entry.isUp = (it->ifa_flags & IFF_UP) != 0;
        entry.isLoopback = (it->ifa_flags & IFF_LOOPBACK) != 0;
        if (entry.isIPv4) {
            char host[NI_MAXHOST] = {0};
            if (::getnameinfo(it->ifa_addr, sizeof(sockaddr_in), host, sizeof(host), nullptr, 0, NI_NUMERICHOST) == 0)
                entry.address = host;
            char mask[NI_MAXHOST] = {0};
            if (it->ifa_netmask &&
                ::getnameinfo(it->ifa_netmask, sizeof(sockaddr_in), mask, sizeof(mask), nullptr, 0, NI_NUMERICHOST) == 0)
                entry.netmask = mask;
            if (entry.address.empty() || entry.netmask.empty()) continue;
        } else if (it->ifa_addr->sa_family == AF_INET6) {
            entry.isIPv6 = true;
            char host[NI_MAXHOST] = {0};
            if (::getnameinfo(it->ifa_addr, sizeof(sockaddr_in6), host, sizeof(host), nullptr, 0, NI_NUMERICHOST) == 0)
                entry.address = host;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::vector<InterfaceAddressEntry>> NetworkInformation::interfaces() {
    return readInterfaces();
}

std::vector<NetworkInformation> NetworkInformation::listIPv4Interfaces() {
    std::vector<NetworkInformation> result;
    const auto entries = readInterfaces();
    if (!entries) return result;
    for (const auto& entry : *entries) {
        if (isUsable(entry)) result.emplace_back(entry.address, entry.netmask);
    }
    return result;
}

std::string NetworkInformation::localIPAddress(const std::string& ipAddress) {
    const auto entries = readInterfaces();
    if (!entries) return "";
    for (const auto& entry : *entries) {
        if (!isUsable(entry)) continue;
        if (networkAddress(entry.address, entry.netmask) == networkAddress(ipAddress, entry.netmask))
            return entry.address;
    }
    return "";
}

std::string NetworkInformation::networkAddress(const std::string& ipAddress, const std::string& subnetMask) {
    const auto address = split(ipAddress);
    const auto mask = split(subnetMask);
    std::string out;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const unsigned maskPart = i < mask.size() ? partValue(mask[i]) : 0;
        if (i) out += ".";
        out += std::to_string(partValue(address[i]) & maskPart);
    }
    return out;
}

}  // namespace Prelix10
