#include "support/FakeBlueZ.hpp"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <future>
#include <list>

#include "prelix10/platform/DBusConnection.hpp"

namespace Prelix10::Testing {

namespace {
constexpr const char* kAdapter = "org.bluez.Adapter1";
constexpr const char* kDevice = "org.bluez.Device1";
constexpr const char* kService = "org.bluez.GattService1";
constexpr const char* kCharacteristic = "org.bluez.GattCharacteristic1";
constexpr const char* kPrintService = "49535343-fe7d-4ae5-8fa9-9fafd205e455";
constexpr const char* kPrintWrite = "49535343-8841-43f4-a8d4-ecbe34729bb3";
constexpr const char* kPrintNotify = "49535343-1e4d-4bd9-ba61-23c647249616";
constexpr std::chrono::milliseconds kDevicePollInterval{10};
}  // namespace

struct FakeBlueZ::Impl {
    struct Classic {
        Impl* owner = nullptr;
        FakeBlueZClassicDevice device;
        std::string path;
    };

    FakeBlueZConfig config;
    std::shared_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<DBusConnection> owned;
    // What the handlers use: it stays valid while the destructor joins the event thread.
    DBusConnection* connection = nullptr;

    std::string devicePath, servicePath, writePath, notifyPath;

    mutable std::mutex mutex;
    std::condition_variable ready;
    bool isReady = false;
    std::optional<std::pair<std::string, std::string>> pairingError;
    std::optional<std::pair<std::string, std::string>> connectError;
    std::size_t connectAttempts = 0;
    std::chrono::milliseconds writeReplyDelay{0};
    std::vector<FakeBlueZWrite> writes;
    std::size_t connects = 0;
    bool connectedSeen = false;
    bool discoveringSeen = false;
    std::vector<std::pair<std::string, std::string>> filter;

    // Event thread only.
    sd_bus* bus = nullptr;
    bool powered = true;
    bool discovering = false;
    std::uint64_t discovery = 0;
    bool deviceExported = false;
    bool gattExported = false;
    bool connected = false;
    bool servicesResolved = false;
    bool notifying = false;
    std::uint64_t link = 0;
    BleBytes value;
    std::unique_ptr<PrinterSession> session;
    std::vector<sd_bus_message*> heldReplies;
    sd_bus_slot* deviceSlot = nullptr;
    std::vector<sd_bus_slot*> gattSlots;
    std::list<Classic> classics;
    FakeBlueZObjectsReply objectsReply = FakeBlueZObjectsReply::normal;
    std::size_t objectsCalls = 0;

    // Sees every incoming message before the objects do: answers GetManagedObjects its own way when asked to.
    static int answerObjects(sd_bus_message* m, void* userdata, sd_bus_error*) {
        Impl& self = *of(userdata);
        if (!sd_bus_message_is_method_call(m, "org.freedesktop.DBus.ObjectManager", "GetManagedObjects")) return 0;
        FakeBlueZObjectsReply reply;
        {
            std::lock_guard lock(self.mutex);
            ++self.objectsCalls;
            reply = self.objectsReply;
        }
        switch (reply) {
            case FakeBlueZObjectsReply::normal:
                return 0;
            case FakeBlueZObjectsReply::never:
                self.heldReplies.push_back(sd_bus_message_ref(m));
                return 1;
            case FakeBlueZObjectsReply::accessDenied:
                sd_bus_reply_method_errorf(m, "org.freedesktop.DBus.Error.AccessDenied", "Rejected send message");
                return 1;
            case FakeBlueZObjectsReply::wrongSignature:
                sd_bus_reply_method_return(m, "a{sv}", 1, "Paired", "b", 1);
                return 1;
        }
        return 0;
    }

    // Runs the work on the event thread and waits for it, for at most two seconds.
    void onBus(std::function<void()> work) {
        auto done = std::make_shared<std::promise<void>>();
        auto future = done->get_future();
        connection->post([work = std::move(work), done](sd_bus* bus) {
            if (bus) work();
            done->set_value();
        });
        future.wait_for(std::chrono::seconds(2));
    }

    template <typename T>
    T knob(T Impl::*member) const {
        std::lock_guard lock(mutex);
        return this->*member;
    }

    void emit(const std::string& path, const char* interface, std::vector<const char*> names) {
        names.push_back(nullptr);
        sd_bus_emit_properties_changed_strv(bus, path.c_str(), interface, const_cast<char**>(names.data()));
    }

    void advertise(std::uint64_t round) {
        if (round != discovery || !discovering) return;
        if (!connected) emit(devicePath, kDevice, {"RSSI", "ManufacturerData"});
        connection->postAfter(config.advertisingInterval, [this, round](sd_bus*) { advertise(round); });
    }

    void notify(const Bytes& bytes) {
        if (!notifying || config.missingNotifyCharacteristic) return;
        const std::size_t piece = static_cast<std::size_t>(std::max(config.notifyLength, 1));
        for (std::size_t start = 0; start < bytes.size(); start += piece) {
            const std::size_t end = std::min(bytes.size(), start + piece);
            value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.begin() + static_cast<std::ptrdiff_t>(end));
            emit(notifyPath, kCharacteristic, {"Value"});
        }
    }

    void poll(std::uint64_t round) {
        if (round != link || !notifying || !session) return;
        const Bytes out = session->poll();
        if (!out.empty()) notify(out);
        connection->postAfter(kDevicePollInterval, [this, round](sd_bus*) { poll(round); });
    }

    void linkDown() {
        connected = false;
        servicesResolved = false;
        notifying = false;
        session.reset();
        ++link;
        {
            std::lock_guard lock(mutex);
            connectedSeen = false;
        }
        emit(devicePath, kDevice, {"Connected", "ServicesResolved"});
    }

    void exportGatt();

    static Impl* of(void* userdata) { return static_cast<Impl*>(userdata); }
    static int getProperty(sd_bus*, const char* path, const char*, const char* property, sd_bus_message* reply,
                           void* userdata, sd_bus_error*);
    static int classicProperty(sd_bus*, const char* path, const char*, const char* property, sd_bus_message* reply,
                               void* userdata, sd_bus_error*);
    static int startDiscovery(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int stopDiscovery(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int setDiscoveryFilter(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int connect(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int disconnect(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int startNotify(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int stopNotify(sd_bus_message* m, void* userdata, sd_bus_error*);
    static int writeValue(sd_bus_message* m, void* userdata, sd_bus_error*);
};

namespace {

int appendStrings(sd_bus_message* reply, const std::vector<std::string>& list) {
    int r = sd_bus_message_open_container(reply, 'a', "s");
    for (const auto& s : list) {
        if (r >= 0) r = sd_bus_message_append(reply, "s", s.c_str());
    }
    if (r >= 0) r = sd_bus_message_close_container(reply);
    return r;
}

constexpr auto kChanges = SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE;
using Impl = FakeBlueZ::Impl;

const sd_bus_vtable kAdapterTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Address", "s", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Powered", "b", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("Discovering", "b", Impl::getProperty, 0, kChanges),
    SD_BUS_METHOD("StartDiscovery", "", "", Impl::startDiscovery, 0),
    SD_BUS_METHOD("StopDiscovery", "", "", Impl::stopDiscovery, 0),
    SD_BUS_METHOD("SetDiscoveryFilter", "a{sv}", "", Impl::setDiscoveryFilter, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable kDeviceTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Address", "s", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Name", "s", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Alias", "s", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Adapter", "o", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Paired", "b", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("RSSI", "n", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("ManufacturerData", "a{qv}", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("UUIDs", "as", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("Connected", "b", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("ServicesResolved", "b", Impl::getProperty, 0, kChanges),
    SD_BUS_METHOD("Connect", "", "", Impl::connect, 0),
    SD_BUS_METHOD("Disconnect", "", "", Impl::disconnect, 0),
    SD_BUS_VTABLE_END};

const sd_bus_vtable kServiceTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("UUID", "s", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Device", "o", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Primary", "b", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END};

const sd_bus_vtable kCharacteristicTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("UUID", "s", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Service", "o", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Flags", "as", Impl::getProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("MTU", "q", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("Notifying", "b", Impl::getProperty, 0, kChanges),
    SD_BUS_PROPERTY("Value", "ay", Impl::getProperty, 0, kChanges),
    SD_BUS_METHOD("StartNotify", "", "", Impl::startNotify, 0),
    SD_BUS_METHOD("StopNotify", "", "", Impl::stopNotify, 0),
    SD_BUS_METHOD("WriteValue", "aya{sv}", "", Impl::writeValue, 0),
    SD_BUS_VTABLE_END};


// The Device1 object of a classic device, with or without its Name, and with one property oddly typed.
#define PRELIX10_CLASSIC_TABLE(table, address, name, paired, uuids, ...)                            \
    const sd_bus_vtable table[] = {                                                                   \
        SD_BUS_VTABLE_START(0),                                                                       \
        SD_BUS_PROPERTY("Address", address, Impl::classicProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST), \
        __VA_ARGS__ SD_BUS_PROPERTY("Alias", "s", Impl::classicProperty, 0, kChanges),              \
        SD_BUS_PROPERTY("Adapter", "o", Impl::classicProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),      \
        SD_BUS_PROPERTY("Class", "u", Impl::classicProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),        \
        SD_BUS_PROPERTY("Paired", paired, Impl::classicProperty, 0, kChanges),                       \
        SD_BUS_PROPERTY("UUIDs", uuids, Impl::classicProperty, 0, kChanges),                         \
        SD_BUS_VTABLE_END}
#define PRELIX10_NAME(signature) SD_BUS_PROPERTY("Name", signature, Impl::classicProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
PRELIX10_CLASSIC_TABLE(kClassicTable, "s", "s", "b", "as", PRELIX10_NAME("s"));
PRELIX10_CLASSIC_TABLE(kNamelessClassicTable, "s", "s", "b", "as", );
PRELIX10_CLASSIC_TABLE(kOddAddressTable, "u", "s", "b", "as", PRELIX10_NAME("s"));
PRELIX10_CLASSIC_TABLE(kOddNameTable, "s", "u", "b", "as", PRELIX10_NAME("u"));
PRELIX10_CLASSIC_TABLE(kOddPairedTable, "s", "s", "s", "as", PRELIX10_NAME("s"));
PRELIX10_CLASSIC_TABLE(kOddUuidsTable, "s", "s", "b", "s", PRELIX10_NAME("s"));
#undef PRELIX10_NAME
#undef PRELIX10_CLASSIC_TABLE

const sd_bus_vtable* classicTableFor(const FakeBlueZClassicDevice& device) {
    if (device.oddlyTyped == "Address") return kOddAddressTable;
    if (device.oddlyTyped == "Name") return kOddNameTable;
    if (device.oddlyTyped == "Paired") return kOddPairedTable;
    if (device.oddlyTyped == "UUIDs") return kOddUuidsTable;
    return device.name.empty() ? kNamelessClassicTable : kClassicTable;
}

}  // namespace

int Impl::classicProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                          void* userdata, sd_bus_error*) {
    const auto& classic = *static_cast<Classic*>(userdata);
    const auto& d = classic.device;
    const std::string name = property;
    const bool odd = name == d.oddlyTyped;
    if (name == "Address") {
        return odd ? sd_bus_message_append(reply, "u", 0x116200u) : sd_bus_message_append(reply, "s", d.address.c_str());
    }
    if (name == "Name") {
        return odd ? sd_bus_message_append(reply, "u", 7u) : sd_bus_message_append(reply, "s", d.name.c_str());
    }
    if (name == "Alias") return sd_bus_message_append(reply, "s", d.alias.c_str());
    if (name == "Adapter") return sd_bus_message_append(reply, "o", classic.owner->config.adapterPath.c_str());
    if (name == "Class") return sd_bus_message_append(reply, "u", 0x040680u);  // imaging, printer
    if (name == "Paired") {
        return odd ? sd_bus_message_append(reply, "s", d.paired ? "true" : "false")
                   : sd_bus_message_append(reply, "b", d.paired ? 1 : 0);
    }
    if (odd) return sd_bus_message_append(reply, "s", d.uuids.empty() ? "" : d.uuids.front().c_str());
    return appendStrings(reply, d.uuids);
}

int Impl::getProperty(sd_bus*, const char* path, const char*, const char* property, sd_bus_message* reply,
                      void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    const std::string p = path;
    const std::string name = property;
    const auto boolean = [&](bool b) { return sd_bus_message_append(reply, "b", b ? 1 : 0); };
    if (p == self.config.adapterPath) {
        if (name == "Address") return sd_bus_message_append(reply, "s", "00:1A:7D:00:00:01");
        if (name == "Powered") return boolean(self.powered);
        return boolean(self.discovering);
    }
    if (p == self.devicePath) {
        if (name == "Address") return sd_bus_message_append(reply, "s", self.config.address.c_str());
        if (name == "Name" || name == "Alias") return sd_bus_message_append(reply, "s", self.config.name.c_str());
        if (name == "Adapter") return sd_bus_message_append(reply, "o", self.config.adapterPath.c_str());
        if (name == "Paired") return boolean(!self.knob(&Impl::pairingError));
        if (name == "RSSI") return sd_bus_message_append(reply, "n", static_cast<std::int16_t>(self.config.rssi));
        if (name == "UUIDs") return appendStrings(reply, {kPrintService});
        if (name == "Connected") return boolean(self.connected);
        if (name == "ServicesResolved") return boolean(self.servicesResolved);
        // ManufacturerData: the company identifier is the key, the rest the value.
        const auto& data = self.config.manufacturerData;
        int r = sd_bus_message_open_container(reply, 'a', "{qv}");
        if (r >= 0 && data.size() >= 2) {
            const auto company = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
            r = sd_bus_message_open_container(reply, 'e', "qv");
            if (r >= 0) r = sd_bus_message_append(reply, "q", company);
            if (r >= 0) r = sd_bus_message_open_container(reply, 'v', "ay");
            if (r >= 0) r = sd_bus_message_append_array(reply, 'y', data.data() + 2, data.size() - 2);
            if (r >= 0) r = sd_bus_message_close_container(reply);
            if (r >= 0) r = sd_bus_message_close_container(reply);
        }
        if (r >= 0) r = sd_bus_message_close_container(reply);
        return r;
    }
    if (p == self.servicePath) {
        if (name == "UUID") return sd_bus_message_append(reply, "s", kPrintService);
        if (name == "Device") return sd_bus_message_append(reply, "o", self.devicePath.c_str());
        return boolean(true);
    }
    const bool write = p == self.writePath;
    if (name == "UUID") return sd_bus_message_append(reply, "s", write ? kPrintWrite : kPrintNotify);
    if (name == "Service") return sd_bus_message_append(reply, "o", self.servicePath.c_str());
    if (name == "Flags") {
        return write ? appendStrings(reply, {"write", "write-without-response"}) : appendStrings(reply, {"notify"});
    }
    if (name == "MTU") return sd_bus_message_append(reply, "q", static_cast<std::uint16_t>(self.config.mtu));
    if (name == "Notifying") return boolean(!write && self.notifying);
    const BleBytes empty;
    const BleBytes& v = write ? empty : self.value;
    return sd_bus_message_append_array(reply, 'y', v.data(), v.size());
}

int Impl::startDiscovery(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    if (!self.powered) return sd_bus_reply_method_errorf(m, "org.bluez.Error.NotReady", "Resource Not Ready");
    if (self.discovering) return sd_bus_reply_method_errorf(m, "org.bluez.Error.InProgress", "Operation already in progress");
    self.discovering = true;
    {
        std::lock_guard lock(self.mutex);
        self.discoveringSeen = true;
    }
    const int r = sd_bus_reply_method_return(m, "");
    self.emit(self.config.adapterPath, kAdapter, {"Discovering"});
    if (!self.deviceExported) {
        sd_bus_add_object_vtable(self.bus, &self.deviceSlot, self.devicePath.c_str(), kDevice, kDeviceTable,
                                 &self);
        self.deviceExported = true;
        sd_bus_emit_object_added(self.bus, self.devicePath.c_str());
    }
    const std::uint64_t round = ++self.discovery;
    self.advertise(round);
    return r;
}

int Impl::stopDiscovery(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    if (!self.discovering) return sd_bus_reply_method_errorf(m, "org.bluez.Error.Failed", "No discovery started");
    self.discovering = false;
    ++self.discovery;
    {
        std::lock_guard lock(self.mutex);
        self.discoveringSeen = false;
    }
    const int r = sd_bus_reply_method_return(m, "");
    self.emit(self.config.adapterPath, kAdapter, {"Discovering"});
    return r;
}

int Impl::setDiscoveryFilter(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    std::vector<std::pair<std::string, std::string>> filter;
    int r = sd_bus_message_enter_container(m, 'a', "{sv}");
    while (r >= 0 && (r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        const char* key = nullptr;
        const char* contents = nullptr;
        char type = 0;
        if ((r = sd_bus_message_read(m, "s", &key)) < 0) break;
        if ((r = sd_bus_message_peek_type(m, &type, &contents)) < 0) break;
        if ((r = sd_bus_message_enter_container(m, 'v', contents)) < 0) break;
        std::string text;
        const std::string signature = contents;
        if (signature == "s") {
            const char* s = nullptr;
            r = sd_bus_message_read(m, "s", &s);
            text = s ? s : "";
        } else if (signature == "b") {
            int b = 0;
            r = sd_bus_message_read(m, "b", &b);
            text = b ? "true" : "false";
        } else if (signature == "as") {
            char** list = nullptr;
            r = sd_bus_message_read_strv(m, &list);
            for (char** s = list; s && *s; ++s) {
                text += (text.empty() ? "" : ",") + std::string(*s);
                free(*s);
            }
            free(list);
        } else {
            r = sd_bus_message_skip(m, contents);
        }
        if (r < 0) break;
        filter.emplace_back(key, text);
        sd_bus_message_exit_container(m);
        sd_bus_message_exit_container(m);
    }
    if (r < 0) return sd_bus_reply_method_errorf(m, "org.bluez.Error.InvalidArguments", "Invalid arguments");
    {
        std::lock_guard lock(self.mutex);
        self.filter = std::move(filter);
    }
    return sd_bus_reply_method_return(m, "");
}

void Impl::exportGatt() {
    if (gattExported) return;
    gattExported = true;
    sd_bus_slot* slot = nullptr;
    sd_bus_add_object_vtable(bus, &slot, servicePath.c_str(), kService, kServiceTable, this);
    gattSlots.push_back(slot);
    sd_bus_add_object_vtable(bus, &slot, writePath.c_str(), kCharacteristic, kCharacteristicTable, this);
    gattSlots.push_back(slot);
    if (!config.missingNotifyCharacteristic) {
        sd_bus_add_object_vtable(bus, &slot, notifyPath.c_str(), kCharacteristic, kCharacteristicTable, this);
        gattSlots.push_back(slot);
    }
    sd_bus_emit_object_added(bus, servicePath.c_str());
    sd_bus_emit_object_added(bus, writePath.c_str());
    if (!config.missingNotifyCharacteristic) sd_bus_emit_object_added(bus, notifyPath.c_str());
}

int Impl::connect(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    {
        std::lock_guard lock(self.mutex);
        ++self.connectAttempts;
    }
    if (!self.powered) return sd_bus_reply_method_errorf(m, "org.bluez.Error.NotReady", "Resource Not Ready");
    if (const auto error = self.knob(&Impl::connectError)) {
        return sd_bus_reply_method_errorf(m, error->first.c_str(), "%s", error->second.c_str());
    }
    if (!self.connected) {
        self.connected = true;
        ++self.link;
        self.session = self.engine ? self.engine->openSession(PrinterChannel::data) : nullptr;
        {
            std::lock_guard lock(self.mutex);
            ++self.connects;
            self.connectedSeen = true;
        }
        self.emit(self.devicePath, kDevice, {"Connected"});
        // As BlueZ does: the GATT objects first, then ServicesResolved, then the reply.
        self.exportGatt();
        self.servicesResolved = true;
        self.emit(self.devicePath, kDevice, {"ServicesResolved"});
    }
    return sd_bus_reply_method_return(m, "");
}

int Impl::disconnect(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    if (self.connected) self.linkDown();
    return sd_bus_reply_method_return(m, "");
}

int Impl::startNotify(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    if (!self.connected) return sd_bus_reply_method_errorf(m, "org.bluez.Error.NotConnected", "Not Connected");
    if (const auto error = self.knob(&Impl::pairingError)) {
        return sd_bus_reply_method_errorf(m, error->first.c_str(), "%s", error->second.c_str());
    }
    const bool was = self.notifying;
    self.notifying = true;
    const int r = sd_bus_reply_method_return(m, "");
    self.emit(self.notifyPath, kCharacteristic, {"Notifying"});
    if (!was) self.poll(self.link);
    return r;
}

int Impl::stopNotify(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    self.notifying = false;
    return sd_bus_reply_method_return(m, "");
}

int Impl::writeValue(sd_bus_message* m, void* userdata, sd_bus_error*) {
    Impl& self = *of(userdata);
    const void* data = nullptr;
    size_t size = 0;
    int r = sd_bus_message_read_array(m, 'y', &data, &size);
    std::string type = "request";
    if (r >= 0) r = sd_bus_message_enter_container(m, 'a', "{sv}");
    while (r >= 0 && (r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        const char* key = nullptr;
        if ((r = sd_bus_message_read(m, "s", &key)) < 0) break;
        if (std::strcmp(key, "type") == 0) {
            const char* text = nullptr;
            if ((r = sd_bus_message_read(m, "v", "s", &text)) < 0) break;
            type = text;
        } else if ((r = sd_bus_message_skip(m, "v")) < 0) {
            break;
        }
        sd_bus_message_exit_container(m);
    }
    if (r < 0) return sd_bus_reply_method_errorf(m, "org.bluez.Error.InvalidArguments", "Invalid arguments");
    if (!self.connected) return sd_bus_reply_method_errorf(m, "org.bluez.Error.NotConnected", "Not Connected");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    BleBytes written(bytes, bytes + size);
    {
        std::lock_guard lock(self.mutex);
        self.writes.push_back({written, type});
    }
    if (self.session) {
        const Bytes reply = self.session->receive(written);
        if (!reply.empty()) self.notify(reply);
    }
    const auto delay = self.knob(&Impl::writeReplyDelay);
    if (delay.count() <= 0) return sd_bus_reply_method_return(m, "");
    self.heldReplies.push_back(sd_bus_message_ref(m));
    const std::uint64_t round = self.link;
    self.connection->postAfter(delay, [&self, m, round](sd_bus*) {
        if (round == self.link) {
            sd_bus_reply_method_return(m, "");
        } else {
            sd_bus_reply_method_errorf(m, "org.bluez.Error.Failed", "Not connected");
        }
        self.heldReplies.erase(std::find(self.heldReplies.begin(), self.heldReplies.end(), m));
        sd_bus_message_unref(m);
    });
    return 1;
}

FakeBlueZ::FakeBlueZ(const std::string& busAddress, FakeBlueZConfig config,
                     std::shared_ptr<VirtualPrinterEngine> engine)
    : impl_(std::make_shared<Impl>()) {
    Impl& self = *impl_;
    self.config = std::move(config);
    self.engine = std::move(engine);
    self.powered = self.config.powered;
    std::string device = self.config.address;
    std::replace(device.begin(), device.end(), ':', '_');
    self.devicePath = self.config.adapterPath + "/dev_" + device;
    self.servicePath = self.devicePath + "/service0010";
    self.writePath = self.servicePath + "/char0011";
    self.notifyPath = self.servicePath + "/char0013";
    self.owned = std::make_unique<DBusConnection>(busAddress);
    self.connection = self.owned.get();
    self.connection->post([&self](sd_bus* bus) {
        if (!bus) return;
        self.bus = bus;
        sd_bus_add_filter(bus, nullptr, &Impl::answerObjects, &self);
        sd_bus_add_object_manager(bus, nullptr, "/");
        sd_bus_add_object_vtable(bus, nullptr, self.config.adapterPath.c_str(), kAdapter, kAdapterTable, &self);
        if (sd_bus_request_name(bus, "org.bluez", 0) < 0) return;
        std::lock_guard lock(self.mutex);
        self.isReady = true;
        self.ready.notify_all();
    });
}

FakeBlueZ::~FakeBlueZ() {
    // The event thread ends first: nothing runs on the device's state after this.
    impl_->owned.reset();
    for (auto* slot : impl_->gattSlots) sd_bus_slot_unref(slot);
    if (impl_->deviceSlot) sd_bus_slot_unref(impl_->deviceSlot);
    for (auto* m : impl_->heldReplies) sd_bus_message_unref(m);
}

bool FakeBlueZ::waitReady(std::chrono::milliseconds timeout) {
    std::unique_lock lock(impl_->mutex);
    return impl_->ready.wait_for(lock, timeout, [&] { return impl_->isReady; });
}

void FakeBlueZ::refusePairing(std::string errorName, std::string message) {
    std::lock_guard lock(impl_->mutex);
    impl_->pairingError = std::make_pair(std::move(errorName), std::move(message));
}

void FakeBlueZ::setWriteReplyDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(impl_->mutex);
    impl_->writeReplyDelay = delay;
}

void FakeBlueZ::refuseConnect(std::string errorName, std::string message) {
    std::lock_guard lock(impl_->mutex);
    if (errorName.empty()) {
        impl_->connectError.reset();
    } else {
        impl_->connectError = std::make_pair(std::move(errorName), std::move(message));
    }
}

void FakeBlueZ::removeDevice() {
    auto* self = impl_.get();
    self->onBus([self] {
        if (self->connected) self->linkDown();
        if (self->gattExported) {
            for (const auto* path : {&self->notifyPath, &self->writePath, &self->servicePath}) {
                if (path == &self->notifyPath && self->config.missingNotifyCharacteristic) continue;
                sd_bus_emit_object_removed(self->bus, path->c_str());
            }
            for (auto* slot : self->gattSlots) sd_bus_slot_unref(slot);
            self->gattSlots.clear();
            self->gattExported = false;
        }
        if (self->deviceExported) {
            // Listed while its interfaces are still there, then taken off the bus.
            sd_bus_emit_object_removed(self->bus, self->devicePath.c_str());
            sd_bus_slot_unref(self->deviceSlot);
            self->deviceSlot = nullptr;
            self->deviceExported = false;
        }
    });
}

void FakeBlueZ::dropConnection() {
    auto* self = impl_.get();
    impl_->connection->post([self](sd_bus*) {
        if (self->connected) self->linkDown();
    });
}

void FakeBlueZ::setPowered(bool powered) {
    auto* self = impl_.get();
    impl_->connection->post([self, powered](sd_bus*) {
        self->powered = powered;
        if (!powered) {
            self->discovering = false;
            ++self->discovery;
            if (self->connected) self->linkDown();
        }
        self->emit(self->config.adapterPath, kAdapter, {"Powered"});
    });
}

void FakeBlueZ::setManagedObjectsReply(FakeBlueZObjectsReply reply) {
    std::lock_guard lock(impl_->mutex);
    impl_->objectsReply = reply;
}

std::size_t FakeBlueZ::managedObjectsCalls() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->objectsCalls;
}

void FakeBlueZ::addClassicDevice(FakeBlueZClassicDevice device) {
    auto* self = impl_.get();
    self->onBus([self, device = std::move(device)] {
        std::string node = device.address;
        std::replace(node.begin(), node.end(), ':', '_');
        auto& classic = self->classics.emplace_back(Impl::Classic{self, device, self->config.adapterPath + "/dev_" + node});
        sd_bus_add_object_vtable(self->bus, nullptr, classic.path.c_str(), kDevice, classicTableFor(device), &classic);
        sd_bus_emit_object_added(self->bus, classic.path.c_str());
    });
}

void FakeBlueZ::setPaired(const std::string& address, bool paired) {
    auto* self = impl_.get();
    self->onBus([self, address, paired] {
        for (auto& classic : self->classics) {
            if (classic.device.address != address) continue;
            classic.device.paired = paired;
            self->emit(classic.path, kDevice, {"Paired"});
        }
    });
}

std::vector<FakeBlueZWrite> FakeBlueZ::writes() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->writes;
}

std::size_t FakeBlueZ::connectAttempts() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->connectAttempts;
}

std::size_t FakeBlueZ::connectCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->connects;
}

bool FakeBlueZ::isConnected() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->connectedSeen;
}

bool FakeBlueZ::isDiscovering() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->discoveringSeen;
}

std::vector<std::pair<std::string, std::string>> FakeBlueZ::discoveryFilter() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->filter;
}

}  // namespace Prelix10::Testing
