#include "prelix10/platform/BlueZObjects.hpp"

#include <cerrno>
#include <cstdint>

namespace Prelix10 {

namespace {

int readBytes(sd_bus_message* m, BleBytes& out) {
    const void* data = nullptr;
    size_t size = 0;
    const int r = sd_bus_message_read_array(m, 'y', &data, &size);
    if (r < 0) return r;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.assign(bytes, bytes + size);
    return r;
}

// The first entry of a{qv}: the company identifier (little-endian, as it travels in the advertisement)
// followed by the data.
int readManufacturerData(sd_bus_message* m, std::optional<BleBytes>& out) {
    int r = sd_bus_message_enter_container(m, 'a', "{qv}");
    if (r < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'e', "qv")) > 0) {
        std::uint16_t company = 0;
        if ((r = sd_bus_message_read(m, "q", &company)) < 0) return r;
        char type = 0;
        const char* contents = nullptr;
        if ((r = sd_bus_message_peek_type(m, &type, &contents)) < 0) return r;
        if (!out && contents && std::string(contents) == "ay") {
            if ((r = sd_bus_message_enter_container(m, 'v', "ay")) < 0) return r;
            BleBytes data;
            if ((r = readBytes(m, data)) < 0) return r;
            if ((r = sd_bus_message_exit_container(m)) < 0) return r;
            BleBytes joined{static_cast<std::uint8_t>(company & 0xFF),
                            static_cast<std::uint8_t>(company >> 8)};
            joined.insert(joined.end(), data.begin(), data.end());
            out = std::move(joined);
        } else if ((r = sd_bus_message_skip(m, "v")) < 0) {
            return r;
        }
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

int readStrings(sd_bus_message* m, std::vector<std::string>& out) {
    int r = sd_bus_message_enter_container(m, 'a', "s");
    if (r < 0) return r;
    const char* text = nullptr;
    while ((r = sd_bus_message_read(m, "s", &text)) > 0) out.emplace_back(text);
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

int readValue(sd_bus_message* m, const std::string& key, const std::string& signature, BlueZProperties& p) {
    int r = 0;
    if (signature == "b") {
        int flag = 0;
        if ((r = sd_bus_message_read(m, "b", &flag)) < 0) return r;
        if (key == "Powered") p.powered = flag != 0;
        if (key == "Connected") p.connected = flag != 0;
        if (key == "ServicesResolved") p.servicesResolved = flag != 0;
        return r;
    }
    if (signature == "s" || signature == "o") {
        const char* text = nullptr;
        if ((r = sd_bus_message_read(m, signature.c_str(), &text)) < 0) return r;
        const std::string value = text ? text : "";
        if (key == "Address") p.address = value;
        if (key == "Name") p.name = value;
        if (key == "Alias") p.alias = value;
        if (key == "UUID") p.uuid = normalizedBleUuid(value);
        if (key == "Device") p.device = value;
        if (key == "Service") p.service = value;
        if (key == "Adapter") p.adapter = value;
        return r;
    }
    if (signature == "n" && key == "RSSI") {
        std::int16_t rssi = 0;
        if ((r = sd_bus_message_read(m, "n", &rssi)) < 0) return r;
        p.rssi = rssi;
        return r;
    }
    if (signature == "q" && key == "MTU") {
        std::uint16_t mtu = 0;
        if ((r = sd_bus_message_read(m, "q", &mtu)) < 0) return r;
        p.mtu = mtu;
        return r;
    }
    if (signature == "ay" && key == "Value") {
        BleBytes value;
        if ((r = readBytes(m, value)) < 0) return r;
        p.value = std::move(value);
        return r;
    }
    if (signature == "as" && key == "UUIDs") {
        std::vector<std::string> uuids;
        if ((r = readStrings(m, uuids)) < 0) return r;
        for (auto& u : uuids) u = normalizedBleUuid(u);
        p.uuids = std::move(uuids);
        return r;
    }
    if (signature == "a{qv}" && key == "ManufacturerData") return readManufacturerData(m, p.manufacturerData);
    return sd_bus_message_skip(m, signature.c_str());
}

// Reads a{sv}.
int readProperties(sd_bus_message* m, BlueZProperties& p) {
    int r = sd_bus_message_enter_container(m, 'a', "{sv}");
    if (r < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        const char* key = nullptr;
        if ((r = sd_bus_message_read(m, "s", &key)) < 0) return r;
        char type = 0;
        const char* contents = nullptr;
        if ((r = sd_bus_message_peek_type(m, &type, &contents)) < 0) return r;
        if (!contents) return -EBADMSG;
        const std::string signature = contents;
        if ((r = sd_bus_message_enter_container(m, 'v', contents)) < 0) return r;
        if ((r = readValue(m, key ? key : "", signature, p)) < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

// Reads a{sa{sv}} for one object.
int readInterfaces(sd_bus_message* m, const std::string& path, std::vector<BlueZObjectRecord>& out) {
    int r = sd_bus_message_enter_container(m, 'a', "{sa{sv}}");
    if (r < 0) return r;
    while ((r = sd_bus_message_enter_container(m, 'e', "sa{sv}")) > 0) {
        const char* interface = nullptr;
        if ((r = sd_bus_message_read(m, "s", &interface)) < 0) return r;
        BlueZObjectRecord record{path, interface ? interface : "", {}};
        if ((r = readProperties(m, record.properties)) < 0) return r;
        if ((r = sd_bus_message_exit_container(m)) < 0) return r;
        out.push_back(std::move(record));
    }
    if (r < 0) return r;
    return sd_bus_message_exit_container(m);
}

}  // namespace

bool BlueZObjects::readManagedObjects(sd_bus_message* reply, std::vector<BlueZObjectRecord>& out) {
    if (!reply) return false;
    std::vector<BlueZObjectRecord> records;
    int r = sd_bus_message_enter_container(reply, 'a', "{oa{sa{sv}}}");
    while (r >= 0 && (r = sd_bus_message_enter_container(reply, 'e', "oa{sa{sv}}")) > 0) {
        const char* path = nullptr;
        if ((r = sd_bus_message_read(reply, "o", &path)) < 0) break;
        if ((r = readInterfaces(reply, path ? path : "", records)) < 0) break;
        r = sd_bus_message_exit_container(reply);
    }
    if (r >= 0) r = sd_bus_message_exit_container(reply);
    if (r < 0) return false;
    out = std::move(records);
    return true;
}

bool BlueZObjects::readInterfacesAdded(sd_bus_message* signal, std::string& path,
                                       std::vector<BlueZObjectRecord>& out) {
    if (!signal) return false;
    const char* object = nullptr;
    if (sd_bus_message_read(signal, "o", &object) < 0 || !object) return false;
    std::vector<BlueZObjectRecord> records;
    if (readInterfaces(signal, object, records) < 0) return false;
    path = object;
    out = std::move(records);
    return true;
}

bool BlueZObjects::readInterfacesRemoved(sd_bus_message* signal, std::string& path,
                                         std::vector<std::string>& interfaces) {
    if (!signal) return false;
    const char* object = nullptr;
    if (sd_bus_message_read(signal, "o", &object) < 0 || !object) return false;
    std::vector<std::string> names;
    if (readStrings(signal, names) < 0) return false;
    path = object;
    interfaces = std::move(names);
    return true;
}

bool BlueZObjects::readPropertiesChanged(sd_bus_message* signal, BlueZObjectRecord& out) {
    if (!signal) return false;
    const char* path = sd_bus_message_get_path(signal);
    const char* interface = nullptr;
    if (!path || sd_bus_message_read(signal, "s", &interface) < 0 || !interface) return false;
    BlueZObjectRecord record{path, interface, {}};
    if (readProperties(signal, record.properties) < 0) return false;
    out = std::move(record);
    return true;
}

}  // namespace Prelix10
