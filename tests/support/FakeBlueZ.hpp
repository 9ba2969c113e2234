#pragma once

// A Bluetooth LE stack as BlueZ presents it on D-Bus, written from the devices' side, for a private bus that
// the test starts: one adapter, and one printer that appears when discovery starts and then advertises its
// manufacturer data and signal strength. Connected, it offers the maker's print service: what is written to
// the write characteristic goes to a data session of the virtual printer, whose answers come back as changes
// of the notify characteristic's value, cut at the notification length. Knobs refuse the pairing or the
// connection, drop the link, forget the device, leave out the notify characteristic or hold back write
// replies. Bluetooth (classic) devices can be added too, as BlueZ lists the devices it knows: pairing one
// later changes its Paired property.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "prelix10/platform/BleCentral.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

struct FakeBlueZConfig {
    std::string adapterPath = "/org/bluez/hci0";
    bool powered = true;
    std::string address = "00:11:62:AA:BB:CC";
    std::string name = "Wexal-T10-BLE";
    // As the advertisement carries it: the company identifier (little-endian) first.
    BleBytes manufacturerData;
    int rssi = -50;
    // The attribute MTU BlueZ reports on the characteristics.
    int mtu = 185;
    int notifyLength = 180;
    bool missingNotifyCharacteristic = false;
    std::chrono::milliseconds advertisingInterval{10};
};

// A Bluetooth (classic) device as its org.bluez.Device1 object shows it.
struct FakeBlueZClassicDevice {
    std::string address;
    // Empty: the device told no name, and BlueZ leaves the Name property out.
    std::string name;
    std::string alias;
    bool paired = false;
    std::vector<std::string> uuids;
    // A property BlueZ reports with another type than its own: "Address" (u), "Name" (u), "Paired" (s,
    // "true") or "UUIDs" (s, the first UUID).
    std::string oddlyTyped;
};

// How BlueZ answers GetManagedObjects: as sd-bus lists the objects, never, with an AccessDenied error (a
// user the bus policy keeps out), or with a body of another signature.
enum class FakeBlueZObjectsReply { normal, never, accessDenied, wrongSignature };

struct FakeBlueZWrite {
    BleBytes bytes;
    std::string type;  // the WriteValue "type" option: "request" or "command"
};

class FakeBlueZ {
public:
    FakeBlueZ(const std::string& busAddress, FakeBlueZConfig config, std::shared_ptr<VirtualPrinterEngine> engine);
    ~FakeBlueZ();
    FakeBlueZ(const FakeBlueZ&) = delete;
    FakeBlueZ& operator=(const FakeBlueZ&) = delete;

    // True once the service owns its bus name and exports the adapter.
    bool waitReady(std::chrono::milliseconds timeout);

    // Knobs.
    // StartNotify is answered with this D-Bus error (BlueZ says "org.bluez.Error.NotPermitted", "Not paired").
    void refusePairing(std::string errorName, std::string message);
    void setWriteReplyDelay(std::chrono::milliseconds delay);
    // Connect is answered with this D-Bus error, as BlueZ answers for a device out of reach or switched off
    // ("org.bluez.Error.Failed", "le-connection-abort-by-local"), one that refuses to pair, or an adapter
    // that is not ready. An empty name connects again.
    void refuseConnect(std::string errorName, std::string message);
    // BlueZ forgets the device, as it does a temporary one some time after discovery: its objects go
    // (InterfacesRemoved); the next discovery finds it anew. Returns once the objects are gone.
    void removeDevice();
    // The link drops on the device's side: Connected goes false and pending write replies fail.
    void dropConnection();
    void setPowered(bool powered);
    void setManagedObjectsReply(FakeBlueZObjectsReply reply);
    // The GetManagedObjects calls received so far.
    std::size_t managedObjectsCalls() const;
    // Exports the device (InterfacesAdded); returns once it is on the bus.
    void addClassicDevice(FakeBlueZClassicDevice device);
    // The device is paired (or unpaired) now: Paired changes (PropertiesChanged); returns once it did.
    void setPaired(const std::string& address, bool paired);

    // What the device saw.
    std::vector<FakeBlueZWrite> writes() const;
    std::size_t connectCount() const;
    // Connect calls received, refused ones included.
    std::size_t connectAttempts() const;
    bool isConnected() const;
    bool isDiscovering() const;
    // The last discovery filter, each value as text ("le", "true", the UUIDs joined by ',').
    std::vector<std::pair<std::string, std::string>> discoveryFilter() const;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace Prelix10::Testing
