#pragma once

// What BlueZ tells the central about its objects, read from the D-Bus messages that carry it: the
// GetManagedObjects reply and the InterfacesAdded, InterfacesRemoved and PropertiesChanged signals. The
// bodies come from another process and are read as untrusted: a message of another shape is refused as a
// whole, properties of unexpected types are skipped, and what is kept grows only with the message itself.

#include <systemd/sd-bus.h>

#include <optional>
#include <string>
#include <vector>

#include "prelix10/platform/BleCentral.hpp"

namespace Prelix10 {

// The properties the central reads, from any of BlueZ's interfaces; the rest are skipped. UUIDs are
// upper-case.
struct BlueZProperties {
    std::optional<bool> powered, connected, servicesResolved;
    std::optional<std::string> address, name, alias, uuid, device, service, adapter;
    std::optional<int> rssi, mtu;
    // The first manufacturer entry: the company identifier (little-endian, as it travels in the
    // advertisement) followed by its data.
    std::optional<BleBytes> manufacturerData, value;
    std::optional<std::vector<std::string>> uuids;
};

// One interface of one object.
struct BlueZObjectRecord {
    std::string path;
    std::string interface;
    BlueZProperties properties;
};

class BlueZObjects {
  public:
    // The body of a GetManagedObjects reply, a{oa{sa{sv}}}: every interface of every object.
    static bool readManagedObjects(sd_bus_message* reply, std::vector<BlueZObjectRecord>& out);
    // The body of InterfacesAdded, oa{sa{sv}}.
    static bool readInterfacesAdded(sd_bus_message* signal, std::string& path,
                                    std::vector<BlueZObjectRecord>& out);
    // The body of InterfacesRemoved, oas.
    static bool readInterfacesRemoved(sd_bus_message* signal, std::string& path,
                                      std::vector<std::string>& interfaces);
    // PropertiesChanged, sa{sv}as, for the object the signal names in its header; the invalidated names are
    // not read.
    static bool readPropertiesChanged(sd_bus_message* signal, BlueZObjectRecord& out);
};

}  // namespace Prelix10
