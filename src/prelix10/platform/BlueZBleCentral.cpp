#include "prelix10/platform/BlueZBleCentral.hpp"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>

#include "prelix10/platform/BlueZObjects.hpp"
#include "prelix10/platform/DBusConnection.hpp"

namespace Prelix10 {

namespace {

constexpr const char* kObjectManager = "org.freedesktop.DBus.ObjectManager";
constexpr const char* kAdapter = "org.bluez.Adapter1";
constexpr const char* kDevice = "org.bluez.Device1";
constexpr const char* kService = "org.bluez.GattService1";
constexpr const char* kCharacteristic = "org.bluez.GattCharacteristic1";

// Writes without response that may wait for BlueZ at once before the central reports no room.
constexpr int kCommandWindow = 4;
// No attribute value is longer: BlueZ turns a longer write with response into a long write, and a write
// without response must fit one packet.
constexpr int kLongestAttribute = 512;
// The payload of the smallest attribute MTU, for a BlueZ that does not report one.
constexpr int kSmallestPayload = 20;
constexpr int kAttHeader = 3;

std::string lowered(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool wanted(const std::optional<std::vector<BleUuid>>& filter, const BleUuid& uuid) {
    if (!filter) return true;
    return std::any_of(filter->begin(), filter->end(),
                       [&](const BleUuid& u) { return normalizedBleUuid(u) == normalizedBleUuid(uuid); });
}

std::string addressFromPath(const std::string& path) {
    const auto at = path.rfind("/dev_");
    if (at == std::string::npos) return path;
    std::string address = path.substr(at + 5);
    std::replace(address.begin(), address.end(), '_', ':');
    return address;
}

int appendVariant(sd_bus_message* m, const char* key, const char* signature, const std::function<int()>& value) {
    int r = sd_bus_message_open_container(m, 'e', "sv");
    if (r >= 0) r = sd_bus_message_append(m, "s", key);
    if (r >= 0) r = sd_bus_message_open_container(m, 'v', signature);
    if (r >= 0) r = value();
    if (r >= 0) r = sd_bus_message_close_container(m);
    if (r >= 0) r = sd_bus_message_close_container(m);
    return r;
}

class BlueZCharacteristic final : public BleCharacteristic {
public:
    BlueZCharacteristic(std::string path, BleUuid uuid) : path_(std::move(path)), uuid_(std::move(uuid)) {}
    BleUuid uuid() const override { return uuid_; }
    std::optional<BleBytes> value() const override {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void setValue(BleBytes value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    const std::string& path() const { return path_; }

private:
    const std::string path_;
    const BleUuid uuid_;
    mutable std::mutex mutex_;
    std::optional<BleBytes> value_;
};

class BlueZService final : public BleService {
public:
    BlueZService(std::string path, BleUuid uuid) : path_(std::move(path)), uuid_(std::move(uuid)) {}
    BleUuid uuid() const override { return uuid_; }
    std::optional<std::vector<std::shared_ptr<BleCharacteristic>>> characteristics() const override {
        std::lock_guard lock(mutex_);
        return characteristics_;
    }
    void setCharacteristics(std::vector<std::shared_ptr<BleCharacteristic>> list) {
        std::lock_guard lock(mutex_);
        characteristics_ = std::move(list);
    }
    const std::string& path() const { return path_; }

private:
    const std::string path_;
    const BleUuid uuid_;
    mutable std::mutex mutex_;
    std::optional<std::vector<std::shared_ptr<BleCharacteristic>>> characteristics_;
};

}  // namespace

class BlueZPeripheral;

struct BlueZBleCentral::Core : std::enable_shared_from_this<BlueZBleCentral::Core> {
    struct ServiceEntry {
        BleUuid uuid;
        std::string device;
        std::shared_ptr<BlueZService> object;
    };
    struct CharacteristicEntry {
        BleUuid uuid;
        std::string service;
        std::shared_ptr<BlueZCharacteristic> object;
    };
    using Done = std::function<void(const std::optional<BleError>&, sd_bus_message*)>;

    Options options;
    std::unique_ptr<DBusConnection> connection;
    std::atomic<bool> started{false};

    mutable std::mutex mutex;
    std::weak_ptr<BleCentralDelegate> delegate;
    BleManagerState state = BleManagerState::unknown;
    std::string adapterPath;
    bool scanning = false;
    std::optional<std::vector<BleUuid>> scanServices;

    // Event thread only.
    std::map<std::string, bool> adapters;
    std::map<std::string, std::shared_ptr<BlueZPeripheral>> devices;
    std::map<std::string, ServiceEntry> services;
    std::map<std::string, CharacteristicEntry> characteristics;
    std::uint64_t loads = 0;
    // The unique name that owns the service name now, empty while nobody does. BlueZ's signals count only
    // from it: a unicast signal reaches us from any sender the bus lets through.
    std::string owner;
    // Devices BlueZ removed while something still held them; erased once nothing does.
    std::vector<std::string> removedButHeld;

    ~Core() { connection.reset(); }

    void post(std::function<void(Core&, sd_bus*)> work) {
        std::weak_ptr<Core> weak = weak_from_this();
        connection->post([weak, work = std::move(work)](sd_bus* bus) {
            if (auto self = weak.lock()) work(*self, bus);
        });
    }

    // Sends a method call to BlueZ; done always runs once, on the event thread.
    void call(sd_bus* bus, const std::string& path, const char* interface, const char* member,
              const std::function<int(sd_bus_message*)>& append, Done done) {
        sd_bus_message* m = nullptr;
        int r = bus ? sd_bus_message_new_method_call(bus, &m, options.serviceName.c_str(), path.c_str(), interface,
                                                     member)
                    : -ENOTCONN;
        if (r >= 0 && append) r = append(m);
        bool sent = false;
        if (r >= 0) {
            auto shared = std::make_shared<Done>(std::move(done));
            sent = connection->callAsync(m, options.callTimeout, [shared](sd_bus_message* reply) {
                if (!reply) {
                    (*shared)(BleError{BleError::Domain::other, -ENOTCONN, "Bluetooth is not reachable."},
                              nullptr);
                    return;
                }
                const auto [name, message] = DBusConnection::errorOf(reply);
                if (name.empty()) {
                    (*shared)(std::nullopt, reply);
                } else {
                    (*shared)(errorFromDBus(name, message), reply);
                }
            });
            if (!sent) done = std::move(*shared);
        }
        if (m) sd_bus_message_unref(m);
        if (!sent && done) {
            done(BleError{BleError::Domain::other, r < 0 ? r : -ENOTCONN, "Bluetooth is not reachable."}, nullptr);
        }
    }

    void deliverState() {
        std::shared_ptr<BleCentralDelegate> d;
        BleManagerState now;
        {
            std::lock_guard lock(mutex);
            d = delegate.lock();
            now = state;
        }
        if (d) d->didUpdateState(now);
    }

    void setState(BleManagerState next) {
        {
            std::lock_guard lock(mutex);
            if (state == next) return;
            state = next;
            if (next != BleManagerState::poweredOn) scanning = false;
        }
        if (next != BleManagerState::poweredOn) disconnectAll();
        deliverState();
    }

    std::shared_ptr<BleCentralDelegate> centralDelegate() {
        std::lock_guard lock(mutex);
        return delegate.lock();
    }

    void start(sd_bus* bus);
    void askOwner(sd_bus* bus);
    bool fromOwner(sd_bus_message* m) const {
        const char* sender = sd_bus_message_get_sender(m);
        return sender && !owner.empty() && owner == sender;
    }
    void sweepRemovedDevices();
    // What the service exported is gone (it went, or the bus did); answers still on their way are dropped.
    void forget();
    void load(sd_bus* bus);
    void loaded(sd_bus_message* reply);
    void apply(const BlueZObjectRecord& record, bool appeared);
    void applyDevice(const std::string& path, const BlueZProperties& p, bool appeared);
    void removed(const std::string& path, const std::vector<std::string>& interfaces);
    void ownerChanged(sd_bus* bus, bool present);
    void disconnectAll();
    void completeServiceDiscovery(const std::shared_ptr<BlueZPeripheral>& peripheral);
    std::shared_ptr<BlueZPeripheral> deviceOfCharacteristic(const std::string& path);
    bool underAdapter(const std::string& path) const;
};

class BlueZPeripheral final : public BlePeripheral, public std::enable_shared_from_this<BlueZPeripheral> {
public:
    using Core = BlueZBleCentral::Core;

    BlueZPeripheral(std::weak_ptr<Core> core, std::string path)
        : core_(std::move(core)), path_(std::move(path)), address_(addressFromPath(path_)) {}

    std::string identifier() const override {
        std::lock_guard lock(mutex_);
        return address_;
    }
    std::optional<std::string> name() const override {
        std::lock_guard lock(mutex_);
        return name_ ? name_ : alias_;
    }
    BlePeripheralState state() const override {
        std::lock_guard lock(mutex_);
        return state_;
    }
    void setDelegate(std::weak_ptr<BlePeripheralDelegate> delegate) override {
        std::lock_guard lock(mutex_);
        delegate_ = std::move(delegate);
    }

    void discoverServices(const std::optional<std::vector<BleUuid>>& uuids) override {
        post([uuids](Core& core, sd_bus*, const std::shared_ptr<BlueZPeripheral>& self) {
            {
                std::lock_guard lock(self->mutex_);
                self->pendingDiscovery_ = uuids;
                if (self->state_ != BlePeripheralState::connected) {
                    self->pendingDiscovery_.reset();
                    self->deliverLater(core, [](BlePeripheralDelegate& d, BlePeripheral& p) {
                        d.didDiscoverServices(p, notConnected());
                    });
                    return;
                }
                if (!self->servicesResolved_) return;  // answered when BlueZ has resolved them
            }
            core.completeServiceDiscovery(self);
        });
    }

    std::optional<std::vector<std::shared_ptr<BleService>>> services() const override {
        std::lock_guard lock(mutex_);
        return discovered_;
    }

    void discoverCharacteristics(const std::optional<std::vector<BleUuid>>& uuids,
                                 const std::shared_ptr<BleService>& service) override {
        post([uuids, service](Core& core, sd_bus*, const std::shared_ptr<BlueZPeripheral>& self) {
            auto own = std::dynamic_pointer_cast<BlueZService>(service);
            std::optional<BleError> error;
            if (!own || self->state() != BlePeripheralState::connected) {
                error = notConnected();
            } else {
                std::vector<std::shared_ptr<BleCharacteristic>> list;
                for (const auto& [path, entry] : core.characteristics) {
                    if (entry.service == own->path() && wanted(uuids, entry.uuid)) list.push_back(entry.object);
                }
                own->setCharacteristics(std::move(list));
            }
            self->deliver([&](BlePeripheralDelegate& d, BlePeripheral& p) {
                d.didDiscoverCharacteristicsFor(p, service, error);
            });
        });
    }

    void setNotifyValue(bool enabled, const std::shared_ptr<BleCharacteristic>& characteristic) override {
        post([enabled, characteristic, requester = requester()](
                 Core& core, sd_bus* bus, const std::shared_ptr<BlueZPeripheral>& self) {
            auto own = std::dynamic_pointer_cast<BlueZCharacteristic>(characteristic);
            auto done = [self, characteristic, requester](const std::optional<BleError>& error,
                                                          sd_bus_message*) {
                self->deliverTo(requester, [&](BlePeripheralDelegate& d, BlePeripheral& p) {
                    d.didUpdateNotificationStateFor(p, characteristic, error);
                });
            };
            if (!own) {
                done(notConnected(), nullptr);
                return;
            }
            core.call(bus, own->path(), kCharacteristic, enabled ? "StartNotify" : "StopNotify", nullptr, done);
        });
    }

    void writeValue(const BleBytes& data, const std::shared_ptr<BleCharacteristic>& characteristic,
                    BleWriteType type) override {
        const bool command = type == BleWriteType::withoutResponse;
        std::uint64_t link;
        std::weak_ptr<BlePeripheralDelegate> requester;
        {
            std::lock_guard lock(mutex_);
            if (command) ++commandsInFlight_;
            link = link_;
            requester = delegate_;
        }
        post([data, characteristic, command, link, requester](Core& core, sd_bus* bus,
                                                              const std::shared_ptr<BlueZPeripheral>& self) {
            auto own = std::dynamic_pointer_cast<BlueZCharacteristic>(characteristic);
            auto done = [self, characteristic, command, link, requester](const std::optional<BleError>& error,
                                                                         sd_bus_message*) {
                if (command) {
                    std::lock_guard lock(self->mutex_);
                    if (self->link_ == link && self->commandsInFlight_ > 0) --self->commandsInFlight_;
                    return;
                }
                self->deliverTo(requester, [&](BlePeripheralDelegate& d, BlePeripheral& p) {
                    d.didWriteValueFor(p, characteristic, error);
                });
            };
            if (!own) {
                done(notConnected(), nullptr);
                return;
            }
            core.call(
                bus, own->path(), kCharacteristic, "WriteValue",
                [&](sd_bus_message* m) {
                    int r = sd_bus_message_append_array(m, 'y', data.data(), data.size());
                    if (r >= 0) r = sd_bus_message_append(m, "a{sv}", 1, "type", "s", command ? "command" : "request");
                    return r;
                },
                done);
        });
    }

    bool canSendWriteWithoutResponse() const override {
        std::lock_guard lock(mutex_);
        return state_ == BlePeripheralState::connected && commandsInFlight_ < kCommandWindow;
    }

    int maximumWriteValueLength(BleWriteType type) const override {
        if (type == BleWriteType::withResponse) return kLongestAttribute;
        std::lock_guard lock(mutex_);
        // An MTU of up to 517 leaves room for more, but no attribute value is longer than 512 bytes.
        return mtu_ > kAttHeader ? std::min(mtu_ - kAttHeader, kLongestAttribute) : kSmallestPayload;
    }

    static BleError notConnected() { return BleError{BleError::Domain::other, -ENOTCONN, "The device is not connected."}; }

    // Calls the delegate now, outside the lock; event thread only.
    void deliver(const std::function<void(BlePeripheralDelegate&, BlePeripheral&)>& callback) {
        std::shared_ptr<BlePeripheralDelegate> d;
        {
            std::lock_guard lock(mutex_);
            d = delegate_.lock();
        }
        if (d) callback(*d, *this);
    }
    // The delegate a request is made for. Its answer goes to that one even when the link has gone and a new
    // link's delegate is in place by then, so that it never answers a request of the new link.
    std::weak_ptr<BlePeripheralDelegate> requester() const {
        std::lock_guard lock(mutex_);
        return delegate_;
    }
    void deliverTo(const std::weak_ptr<BlePeripheralDelegate>& requester,
                   const std::function<void(BlePeripheralDelegate&, BlePeripheral&)>& callback) {
        if (auto d = requester.lock()) callback(*d, *this);
    }
    // The same from under this peripheral's lock: the call is posted behind the current work.
    void deliverLater(Core& core, std::function<void(BlePeripheralDelegate&, BlePeripheral&)> callback) {
        std::weak_ptr<BlueZPeripheral> weak = weak_from_this();
        core.connection->post([weak, callback = std::move(callback)](sd_bus*) {
            if (auto self = weak.lock()) self->deliver(callback);
        });
    }

    void post(std::function<void(Core&, sd_bus*, const std::shared_ptr<BlueZPeripheral>&)> work) {
        auto core = core_.lock();
        if (!core) return;
        auto self = shared_from_this();
        core->post([self, work = std::move(work)](Core& c, sd_bus* bus) { work(c, bus, self); });
    }

    // The link went down: everything of it ends; true when the state changed.
    bool dropLinkLocked() {
        const bool changed = state_ != BlePeripheralState::disconnected;
        state_ = BlePeripheralState::disconnected;
        servicesResolved_ = false;
        pendingDiscovery_.reset();
        commandsInFlight_ = 0;
        ++link_;
        ++attempt_;
        return changed;
    }

    const std::weak_ptr<Core> core_;
    const std::string path_;

    mutable std::mutex mutex_;
    std::string address_;
    std::optional<std::string> name_, alias_;
    BlePeripheralState state_ = BlePeripheralState::disconnected;
    bool servicesResolved_ = false;
    // BlueZ has removed the device's object.
    bool removed_ = false;
    std::uint64_t attempt_ = 0;
    std::uint64_t link_ = 0;
    int mtu_ = 0;
    int commandsInFlight_ = 0;
    int rssi_ = -127;
    BleAdvertisementData advertisement_;
    std::weak_ptr<BlePeripheralDelegate> delegate_;
    std::optional<std::vector<std::shared_ptr<BleService>>> discovered_;
    std::optional<std::optional<std::vector<BleUuid>>> pendingDiscovery_;
};

// ---- the event thread's side ----

void BlueZBleCentral::Core::start(sd_bus* bus) {
    if (!bus) return;  // the closed handler has reported it
    std::weak_ptr<Core> weak = weak_from_this();
    const std::string sender = "sender='" + options.serviceName + "',";
    connection->addMatch("type='signal'," + sender + "interface='org.freedesktop.DBus.ObjectManager',"
                         "member='InterfacesAdded'",
                         [weak](sd_bus_message* m) {
                             auto self = weak.lock();
                             if (!self || !self->fromOwner(m)) return;
                             std::vector<BlueZObjectRecord> records;
                             std::string path;
                             if (!BlueZObjects::readInterfacesAdded(m, path, records)) return;
                             for (const auto& r : records) self->apply(r, true);
                         });
    connection->addMatch("type='signal'," + sender + "interface='org.freedesktop.DBus.ObjectManager',"
                         "member='InterfacesRemoved'",
                         [weak](sd_bus_message* m) {
                             auto self = weak.lock();
                             if (!self || !self->fromOwner(m)) return;
                             std::string path;
                             std::vector<std::string> interfaces;
                             if (!BlueZObjects::readInterfacesRemoved(m, path, interfaces)) return;
                             self->removed(path, interfaces);
                         });
    connection->addMatch("type='signal'," + sender + "interface='org.freedesktop.DBus.Properties',"
                         "member='PropertiesChanged'",
                         [weak](sd_bus_message* m) {
                             auto self = weak.lock();
                             if (!self || !self->fromOwner(m)) return;
                             BlueZObjectRecord record;
                             if (!BlueZObjects::readPropertiesChanged(m, record)) return;
                             self->apply(record, false);
                         });
    connection->addMatch("type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                         "member='NameOwnerChanged',arg0='" + options.serviceName + "'",
                         [weak](sd_bus_message* m) {
                             auto self = weak.lock();
                             const char* from = sd_bus_message_get_sender(m);
                             // Only the bus itself tells who owns a name.
                             if (!self || !from || std::string(from) != "org.freedesktop.DBus") return;
                             const char *name = nullptr, *before = nullptr, *after = nullptr;
                             if (sd_bus_message_read(m, "sss", &name, &before, &after) < 0) return;
                             if (!name || name != self->options.serviceName) return;
                             self->owner = after ? after : "";
                             self->ownerChanged(sd_bus_message_get_bus(m), !self->owner.empty());
                         });
    askOwner(bus);
}

void BlueZBleCentral::Core::askOwner(sd_bus* bus) {
    sd_bus_message* m = nullptr;
    int r = sd_bus_message_new_method_call(bus, &m, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                           "org.freedesktop.DBus", "GetNameOwner");
    if (r >= 0) r = sd_bus_message_append(m, "s", options.serviceName.c_str());
    std::weak_ptr<Core> weak = weak_from_this();
    const std::uint64_t mine = loads;
    const bool sent =
        r >= 0 && connection->callAsync(m, options.callTimeout, [weak, mine](sd_bus_message* reply) {
            auto self = weak.lock();
            // A NameOwnerChanged that came first has told the owner already, and started its own load.
            if (!self || self->loads != mine || !reply) return;
            const char* name = nullptr;
            if (reply && DBusConnection::errorOf(reply).first.empty() &&
                sd_bus_message_read(reply, "s", &name) >= 0 && name) {
                self->owner = name;
            }
            // Asked even without an owner: the answer sets the state, as it always did.
            self->load(sd_bus_message_get_bus(reply));
        });
    if (m) sd_bus_message_unref(m);
    if (!sent) load(bus);
}

void BlueZBleCentral::Core::load(sd_bus* bus) {
    const std::uint64_t mine = ++loads;
    std::weak_ptr<Core> weak = weak_from_this();
    call(bus, "/", kObjectManager, "GetManagedObjects", nullptr,
         [weak, mine](const std::optional<BleError>&, sd_bus_message* reply) {
             auto self = weak.lock();
             if (!self || self->loads != mine) return;
             self->loaded(reply);
         });
}

void BlueZBleCentral::Core::loaded(sd_bus_message* reply) {
    const auto [name, message] = DBusConnection::errorOf(reply);
    if (!reply || !name.empty()) {
        setState(name == "org.freedesktop.DBus.Error.AccessDenied" ? BleManagerState::unauthorized
                                                                   : BleManagerState::unsupported);
        return;
    }
    std::vector<BlueZObjectRecord> records;
    if (!BlueZObjects::readManagedObjects(reply, records)) {
        setState(BleManagerState::unsupported);
        return;
    }
    // The adapter first, so that devices are sorted by it.
    for (const auto& record : records) {
        if (record.interface == kAdapter) adapters[record.path] = record.properties.powered.value_or(false);
    }
    {
        std::lock_guard lock(mutex);
        adapterPath.clear();
        if (!options.adapterPath.empty()) {
            if (adapters.count(options.adapterPath)) adapterPath = options.adapterPath;
        } else if (!adapters.empty()) {
            adapterPath = adapters.begin()->first;
        }
    }
    for (const auto& record : records) {
        if (record.interface != kAdapter) apply(record, false);
    }
    std::string chosen;
    {
        std::lock_guard lock(mutex);
        chosen = adapterPath;
    }
    if (chosen.empty()) {
        setState(BleManagerState::unsupported);
    } else {
        setState(adapters[chosen] ? BleManagerState::poweredOn : BleManagerState::poweredOff);
    }
}

bool BlueZBleCentral::Core::underAdapter(const std::string& path) const {
    std::lock_guard lock(mutex);
    return adapterPath.empty() || path.rfind(adapterPath + "/", 0) == 0;
}

void BlueZBleCentral::Core::apply(const BlueZObjectRecord& record, bool appeared) {
    const auto& p = record.properties;
    if (record.interface == kAdapter) {
        bool& powered = adapters[record.path];
        if (p.powered) powered = *p.powered;
        std::string chosen;
        {
            std::lock_guard lock(mutex);
            if (adapterPath.empty() && (options.adapterPath.empty() || options.adapterPath == record.path) &&
                loads > 0 && state != BleManagerState::unknown) {
                adapterPath = record.path;
            }
            chosen = adapterPath;
        }
        if (chosen == record.path) setState(powered ? BleManagerState::poweredOn : BleManagerState::poweredOff);
        return;
    }
    if (!underAdapter(record.path)) return;
    if (record.interface == kDevice) {
        applyDevice(record.path, p, appeared);
    } else if (record.interface == kService) {
        auto& entry = services[record.path];
        if (p.uuid) entry.uuid = *p.uuid;
        if (p.device) entry.device = *p.device;
        if (!entry.object) entry.object = std::make_shared<BlueZService>(record.path, entry.uuid);
    } else if (record.interface == kCharacteristic) {
        auto& entry = characteristics[record.path];
        if (p.uuid) entry.uuid = *p.uuid;
        if (p.service) entry.service = *p.service;
        if (!entry.object) entry.object = std::make_shared<BlueZCharacteristic>(record.path, entry.uuid);
        auto device = deviceOfCharacteristic(record.path);
        if (device && p.mtu) {
            std::lock_guard lock(device->mutex_);
            device->mtu_ = std::max(device->mtu_, *p.mtu);
        }
        if (device && p.value && !appeared && device->state() == BlePeripheralState::connected) {
            auto object = entry.object;
            object->setValue(*p.value);
            const BleBytes value = *p.value;
            device->deliver([&](BlePeripheralDelegate& d, BlePeripheral& peripheral) {
                d.didUpdateValueFor(peripheral, object, value, std::nullopt);
            });
        }
    }
}

std::shared_ptr<BlueZPeripheral> BlueZBleCentral::Core::deviceOfCharacteristic(const std::string& path) {
    const auto c = characteristics.find(path);
    if (c == characteristics.end()) return nullptr;
    const auto s = services.find(c->second.service);
    std::string device;
    if (s != services.end() && !s->second.device.empty()) {
        device = s->second.device;
    } else {
        // Object paths nest: the device is the characteristic's grandparent.
        const auto cut = path.rfind('/');
        const auto cut2 = cut == std::string::npos ? cut : path.rfind('/', cut - 1);
        if (cut2 == std::string::npos) return nullptr;
        device = path.substr(0, cut2);
    }
    const auto d = devices.find(device);
    return d == devices.end() ? nullptr : d->second;
}

void BlueZBleCentral::Core::applyDevice(const std::string& path, const BlueZProperties& p, bool appeared) {
    auto& slot = devices[path];
    if (!slot) slot = std::make_shared<BlueZPeripheral>(weak_from_this(), path);
    const auto peripheral = slot;
    bool disconnected = false;
    bool resolved = false;
    bool advertised = false;
    BleAdvertisementData advertisement;
    int rssi = 0;
    {
        std::lock_guard lock(peripheral->mutex_);
        peripheral->removed_ = false;
        if (p.address) peripheral->address_ = *p.address;
        if (p.name) peripheral->name_ = *p.name;
        if (p.alias) peripheral->alias_ = *p.alias;
        if (p.name) peripheral->advertisement_.localName = *p.name;
        if (p.manufacturerData) peripheral->advertisement_.manufacturerData = *p.manufacturerData;
        if (p.uuids) peripheral->advertisement_.serviceUuids = *p.uuids;
        if (p.rssi) peripheral->rssi_ = *p.rssi;
        if (p.connected && !*p.connected && (peripheral->state_ == BlePeripheralState::connected ||
                                             peripheral->state_ == BlePeripheralState::disconnecting)) {
            disconnected = peripheral->dropLinkLocked();
        }
        if (p.servicesResolved) {
            peripheral->servicesResolved_ = *p.servicesResolved && peripheral->state_ != BlePeripheralState::disconnected;
            resolved = peripheral->servicesResolved_ && peripheral->pendingDiscovery_.has_value() &&
                       peripheral->state_ == BlePeripheralState::connected;
        }
        // A report of signal strength or manufacturer data is an advertisement heard now (a cached device
        // listed at start-up is not); a connected device does not advertise.
        advertised = (p.rssi || p.manufacturerData || (appeared && p.rssi)) &&
                     peripheral->state_ == BlePeripheralState::disconnected;
        advertisement = peripheral->advertisement_;
        rssi = peripheral->rssi_;
    }
    if (disconnected) {
        if (auto d = centralDelegate()) d->didDisconnect(peripheral, std::nullopt);
    }
    if (resolved) completeServiceDiscovery(peripheral);
    if (!advertised) return;
    std::optional<std::vector<BleUuid>> filter;
    {
        std::lock_guard lock(mutex);
        if (!scanning) return;
        filter = scanServices;
    }
    if (filter && !std::any_of(advertisement.serviceUuids.begin(), advertisement.serviceUuids.end(),
                               [&](const BleUuid& u) { return wanted(filter, u); })) {
        return;
    }
    if (auto d = centralDelegate()) d->didDiscover(peripheral, advertisement, rssi);
}

void BlueZBleCentral::Core::completeServiceDiscovery(const std::shared_ptr<BlueZPeripheral>& peripheral) {
    std::optional<std::vector<BleUuid>> filter;
    {
        std::lock_guard lock(peripheral->mutex_);
        if (!peripheral->pendingDiscovery_) return;
        filter = *peripheral->pendingDiscovery_;
        peripheral->pendingDiscovery_.reset();
    }
    std::vector<std::shared_ptr<BleService>> found;
    for (const auto& [path, entry] : services) {
        if (entry.device == peripheral->path_ && wanted(filter, entry.uuid)) found.push_back(entry.object);
    }
    {
        std::lock_guard lock(peripheral->mutex_);
        peripheral->discovered_ = std::move(found);
    }
    peripheral->deliver([](BlePeripheralDelegate& d, BlePeripheral& p) { d.didDiscoverServices(p, std::nullopt); });
}

void BlueZBleCentral::Core::removed(const std::string& path, const std::vector<std::string>& interfaces) {
    for (const auto& interface : interfaces) {
        if (interface == kCharacteristic) characteristics.erase(path);
        if (interface == kService) services.erase(path);
        if (interface == kAdapter) {
            adapters.erase(path);
            bool chosen;
            {
                std::lock_guard lock(mutex);
                chosen = adapterPath == path;
            }
            if (chosen) setState(BleManagerState::unsupported);
        }
        if (interface == kDevice) {
            const auto it = devices.find(path);
            if (it == devices.end()) continue;
            bool changed;
            {
                std::lock_guard lock(it->second->mutex_);
                changed = it->second->dropLinkLocked();
                it->second->removed_ = true;
            }
            const auto peripheral = it->second;
            if (changed) {
                if (auto d = centralDelegate()) d->didDisconnect(peripheral, std::nullopt);
            }
            // A phone with a rotating address leaves a new device behind every few minutes: the table keeps
            // only what someone still holds, so that a held peripheral stays the same object if it returns.
            if (std::find(removedButHeld.begin(), removedButHeld.end(), path) == removedButHeld.end()) {
                removedButHeld.push_back(path);
            }
        }
    }
    sweepRemovedDevices();
}

void BlueZBleCentral::Core::sweepRemovedDevices() {
    std::vector<std::string> held;
    for (const auto& path : removedButHeld) {
        const auto it = devices.find(path);
        if (it == devices.end()) continue;
        bool gone;
        {
            std::lock_guard lock(it->second->mutex_);
            gone = it->second->removed_;
        }
        // Only the table holds it: no port, discovery or delegate can ask for it again.
        if (gone && it->second.use_count() == 1) {
            devices.erase(it);
        } else if (gone) {
            held.push_back(path);
        }
    }
    removedButHeld = std::move(held);
}

void BlueZBleCentral::Core::disconnectAll() {
    for (const auto& [path, peripheral] : devices) {
        bool changed;
        {
            std::lock_guard lock(peripheral->mutex_);
            changed = peripheral->dropLinkLocked();
        }
        if (changed) {
            if (auto d = centralDelegate()) d->didDisconnect(peripheral, std::nullopt);
        }
    }
}

void BlueZBleCentral::Core::forget() {
    owner.clear();
    adapters.clear();
    services.clear();
    characteristics.clear();
    // Devices nobody holds go too; held ones stay the same objects for when they come back.
    for (auto it = devices.begin(); it != devices.end();) {
        it = it->second.use_count() == 1 ? devices.erase(it) : std::next(it);
    }
    removedButHeld.clear();
    ++loads;
    std::lock_guard lock(mutex);
    adapterPath.clear();
}

void BlueZBleCentral::Core::ownerChanged(sd_bus* bus, bool present) {
    // The service went or came back: what it had exported is gone; a new owner is read afresh.
    const std::string now = owner;
    forget();
    owner = now;
    if (!present) {
        setState(BleManagerState::unsupported);
        return;
    }
    load(bus);
}

// ---- the callers' side ----

std::shared_ptr<BlueZBleCentral> BlueZBleCentral::make(Options options) {
    auto core = std::make_shared<Core>();
    if (options.busAddress.empty()) options.busAddress = DBusConnection::systemBusAddress();
    core->options = options;
    std::weak_ptr<Core> weak = core;
    core->connection = std::make_unique<DBusConnection>(
        options.busAddress,
        [weak](int error) {
            auto self = weak.lock();
            if (!self) return;
            self->forget();
            self->setState(error == EACCES || error == EPERM ? BleManagerState::unauthorized
                                                             : BleManagerState::unsupported);
        },
        [weak](sd_bus* bus) {
            // The bus is back (a restarted dbus-daemon): everything is asked afresh, as at the start. Before
            // the first start has been posted nothing here is set up yet, and that start does it.
            auto self = weak.lock();
            if (self && self->started.load(std::memory_order_acquire)) self->start(bus);
        });
    core->started.store(true, std::memory_order_release);
    core->post([](Core& c, sd_bus* bus) { c.start(bus); });
    return std::shared_ptr<BlueZBleCentral>(new BlueZBleCentral(std::move(core)));
}

BlueZBleCentral::~BlueZBleCentral() = default;

BleManagerState BlueZBleCentral::state() const {
    std::lock_guard lock(core_->mutex);
    return core_->state;
}

void BlueZBleCentral::setDelegate(std::weak_ptr<BleCentralDelegate> delegate) {
    std::lock_guard lock(core_->mutex);
    core_->delegate = std::move(delegate);
}

bool BlueZBleCentral::isScanning() const {
    std::lock_guard lock(core_->mutex);
    return core_->scanning;
}

void BlueZBleCentral::scan(const std::optional<std::vector<BleUuid>>& services, bool allowDuplicates) {
    std::string adapter;
    {
        std::lock_guard lock(core_->mutex);
        if (core_->state != BleManagerState::poweredOn) return;
        core_->scanning = true;
        core_->scanServices = services;
        adapter = core_->adapterPath;
    }
    core_->post([adapter, services, allowDuplicates](Core& core, sd_bus* bus) {
        core.call(
            bus, adapter, kAdapter, "SetDiscoveryFilter",
            [&](sd_bus_message* m) {
                int r = sd_bus_message_open_container(m, 'a', "{sv}");
                if (r >= 0) r = appendVariant(m, "Transport", "s", [&] { return sd_bus_message_append(m, "s", "le"); });
                if (r >= 0) {
                    r = appendVariant(m, "DuplicateData", "b",
                                      [&] { return sd_bus_message_append(m, "b", allowDuplicates ? 1 : 0); });
                }
                if (r >= 0 && services) {
                    r = appendVariant(m, "UUIDs", "as", [&] {
                        int q = sd_bus_message_open_container(m, 'a', "s");
                        for (const auto& u : *services) {
                            if (q >= 0) q = sd_bus_message_append(m, "s", lowered(u).c_str());
                        }
                        if (q >= 0) q = sd_bus_message_close_container(m);
                        return q;
                    });
                }
                if (r >= 0) r = sd_bus_message_close_container(m);
                return r;
            },
            [](const std::optional<BleError>&, sd_bus_message*) {});
        // Sent right behind the filter: BlueZ takes the calls of one connection in order.
        std::weak_ptr<Core> weak = core.weak_from_this();
        core.call(bus, adapter, kAdapter, "StartDiscovery", nullptr,
                  [weak](const std::optional<BleError>& error, sd_bus_message* reply) {
                      auto self = weak.lock();
                      if (!self || !error) return;
                      if (DBusConnection::errorOf(reply).first == "org.bluez.Error.InProgress") return;
                      std::lock_guard lock(self->mutex);
                      self->scanning = false;
                  });
    });
}

void BlueZBleCentral::stopScan() {
    std::string adapter;
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->scanning) return;
        core_->scanning = false;
        adapter = core_->adapterPath;
    }
    core_->post([adapter](Core& core, sd_bus* bus) {
        core.call(bus, adapter, kAdapter, "StopDiscovery", nullptr, [](const std::optional<BleError>&, sd_bus_message*) {});
    });
}

void BlueZBleCentral::connect(const std::shared_ptr<BlePeripheral>& peripheral, const std::optional<BleConnectOptions>&) {
    auto own = std::dynamic_pointer_cast<BlueZPeripheral>(peripheral);
    if (!own || own->core_.lock() != core_) return;
    if (state() != BleManagerState::poweredOn) {
        // Told at once, as BlueZ would answer: nothing connects through an adapter that is off or gone.
        core_->post([own](Core& core, sd_bus*) {
            if (auto d = core.centralDelegate()) {
                d->didFailToConnect(own, BleError{BleError::Domain::other, BleError::kAdapterUnavailable,
                                                  "The adapter is not powered."});
            }
        });
        return;
    }
    std::uint64_t attempt;
    bool already;
    {
        std::lock_guard lock(own->mutex_);
        already = own->state_ == BlePeripheralState::connected;
        if (!already) own->state_ = BlePeripheralState::connecting;
        attempt = ++own->attempt_;
    }
    core_->post([own, attempt, already](Core& core, sd_bus* bus) {
        if (already) {
            if (auto d = core.centralDelegate()) d->didConnect(own);
            return;
        }
        std::weak_ptr<Core> weak = core.weak_from_this();
        core.call(bus, own->path_, kDevice, "Connect", nullptr,
                  [weak, own, attempt](const std::optional<BleError>& error, sd_bus_message*) {
                      auto self = weak.lock();
                      if (!self) return;
                      {
                          std::lock_guard lock(own->mutex_);
                          if (own->attempt_ != attempt || own->state_ != BlePeripheralState::connecting) return;
                          if (error) {
                              own->dropLinkLocked();
                          } else {
                              own->state_ = BlePeripheralState::connected;
                              ++own->link_;
                          }
                      }
                      auto d = self->centralDelegate();
                      if (!d) return;
                      if (error) {
                          d->didFailToConnect(own, error);
                      } else {
                          d->didConnect(own);
                      }
                  });
    });
}

void BlueZBleCentral::cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral) {
    auto own = std::dynamic_pointer_cast<BlueZPeripheral>(peripheral);
    if (!own || own->core_.lock() != core_) return;
    std::uint64_t attempt;
    {
        std::lock_guard lock(own->mutex_);
        if (own->state_ == BlePeripheralState::disconnected) return;
        own->state_ = BlePeripheralState::disconnecting;
        own->pendingDiscovery_.reset();
        attempt = ++own->attempt_;
    }
    core_->post([own, attempt](Core& core, sd_bus* bus) {
        std::weak_ptr<Core> weak = core.weak_from_this();
        core.call(bus, own->path_, kDevice, "Disconnect", nullptr,
                  [weak, own, attempt](const std::optional<BleError>&, sd_bus_message*) {
                      auto self = weak.lock();
                      if (!self) return;
                      {
                          std::lock_guard lock(own->mutex_);
                          if (own->attempt_ != attempt || own->state_ == BlePeripheralState::disconnected) return;
                          own->dropLinkLocked();
                      }
                      if (auto d = self->centralDelegate()) d->didDisconnect(own, std::nullopt);
                  });
    });
}

BleError BlueZBleCentral::errorFromDBus(const std::string& name, const std::string& message) {
    const std::string text = lowered(message);
    const std::string description = message.empty() ? name : message;
    const auto att = [&](int code) { return BleError{BleError::Domain::att, code, description}; };
    const auto has = [&](const char* word) { return text.find(word) != std::string::npos; };
    if (name == "org.bluez.Error.NotPermitted") {
        if (has("pair") || has("encrypt") || has("authent")) return att(BleError::kInsufficientEncryption);
        if (has("read")) return att(0x02);
        if (has("write")) return att(0x03);
    }
    // An adapter that is off (or going) answers so, whatever was asked of it.
    if (name == "org.bluez.Error.NotReady") {
        return BleError{BleError::Domain::other, BleError::kAdapterUnavailable, description};
    }
    // BlueZ names an attribute server's refusal for want of a secured link so, and so do failed or refused
    // pairings: each means the device has not been paired.
    if (name == "org.bluez.Error.NotAuthorized" || name.rfind("org.bluez.Error.Authentication", 0) == 0) {
        return att(BleError::kInsufficientEncryption);
    }
    // "Operation failed with ATT error: 0x0f"
    const auto at = text.find("att error: 0x");
    if (at != std::string::npos) {
        const int code = static_cast<int>(std::strtol(text.c_str() + at + 13, nullptr, 16));
        // Insufficient authentication (0x05), encryption key size (0x0c) and encryption (0x0f).
        if (code == 0x05 || code == 0x0C || code == 0x0F) return att(BleError::kInsufficientEncryption);
        return att(code);
    }
    return BleError{BleError::Domain::other, -1, name + (message.empty() ? "" : ": " + message)};
}

}  // namespace Prelix10
