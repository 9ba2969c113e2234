#include "prelix10/transport/NetworkPortSettings.hpp"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <mutex>

namespace Prelix10 {

namespace {

struct Settings {
    std::mutex mutex;
    LanPortNumbers ports;
    NetworkPortSettings::AvailabilityCheck availability;
    NetworkPortSettings::NetworkCardLookup lookup;
};

Settings& settings() {
    static Settings* instance = new Settings();  // never destroyed: ports on worker threads read it at exit
    return *instance;
}

bool anyIPv4InterfaceUp() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    bool found = false;
    for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        if (!(entry->ifa_flags & IFF_UP)) continue;
        found = true;
    }
    ::freeifaddrs(list);
    return found;
}

}  // namespace

LanPortNumbers NetworkPortSettings::ports() {
    std::lock_guard lock(settings().mutex);
    return settings().ports;
}

void NetworkPortSettings::setPorts(const LanPortNumbers& ports) {
    std::lock_guard lock(settings().mutex);
    settings().ports = ports;
}

void NetworkPortSettings::setAvailabilityCheck(AvailabilityCheck check) {
    std::lock_guard lock(settings().mutex);
    settings().availability = std::move(check);
}

bool NetworkPortSettings::isNetworkAvailable() {
    AvailabilityCheck check;
    {
        std::lock_guard lock(settings().mutex);
        check = settings().availability;
    }
    return check ? check() : anyIPv4InterfaceUp();
}

void NetworkPortSettings::setNetworkCardLookup(NetworkCardLookup lookup) {
    std::lock_guard lock(settings().mutex);
    settings().lookup = std::move(lookup);
}

NetworkPortSettings::NetworkCardLookup NetworkPortSettings::networkCardLookup() {
    std::lock_guard lock(settings().mutex);
    return settings().lookup;
}

}  // namespace Prelix10
