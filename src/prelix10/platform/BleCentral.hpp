#pragma once

#include "prelix10/core/Export.hpp"

// Our layer over a Bluetooth LE stack, seen from the central's side: scanning, connecting, GATT service and
// characteristic discovery, notifications and writes. Every result comes back through a delegate callback on a
// backend thread; nothing here blocks. The interface knows no particular stack: a backend (the Linux one, or the
// in-process simulator of the tests) implements BleCentral and BlePeripheral and is installed with BleBackend.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Prelix10 {

using BleBytes = std::vector<std::uint8_t>;

// Service and characteristic identifiers as upper-case canonical UUID text.
using BleUuid = std::string;

// Upper-cases a UUID text so that identifiers compare exactly.
PRELIX10_EXPORT BleUuid normalizedBleUuid(const std::string& text);

// The radio's state; raw values as the callers compare them.
enum class BleManagerState : int {
    unknown = 0,
    resetting = 1,
    unsupported = 2,
    unauthorized = 3,
    poweredOff = 4,
    poweredOn = 5,
};

enum class BlePeripheralState : int {
    disconnected = 0,
    connecting = 1,
    connected = 2,
    disconnecting = 3,
};

enum class BleWriteType : int {
    withResponse = 0,
    withoutResponse = 1,
};

// An error reported by the stack: the attribute protocol's own codes, or anything else.
struct PRELIX10_EXPORT BleError {
    enum class Domain { att, other };
    static constexpr int kInsufficientEncryption = 15;
    // Of the other domain: the adapter is off or gone, so nothing can connect until it is back.
    static constexpr int kAdapterUnavailable = -1000;

    Domain domain = Domain::other;
    int code = 0;
    std::string description;
};

// What one advertisement carried.
struct PRELIX10_EXPORT BleAdvertisementData {
    std::optional<std::string> localName;
    std::optional<BleBytes> manufacturerData;
    std::vector<BleUuid> serviceUuids;
};

class PRELIX10_EXPORT BleCharacteristic {
public:
    virtual ~BleCharacteristic() = default;
    virtual BleUuid uuid() const = 0;
    // The last value read or notified, if any.
    virtual std::optional<BleBytes> value() const = 0;
};

class PRELIX10_EXPORT BleService {
public:
    virtual ~BleService() = default;
    virtual BleUuid uuid() const = 0;
    // None until the characteristics have been discovered.
    virtual std::optional<std::vector<std::shared_ptr<BleCharacteristic>>> characteristics() const = 0;
};

class BlePeripheral;

// Results of a peripheral's requests. Empty defaults; each arrives on a backend thread, one at a time per
// peripheral, in the order the stack produced them.
class PRELIX10_EXPORT BlePeripheralDelegate {
public:
    virtual ~BlePeripheralDelegate() = default;
    virtual void didDiscoverServices(BlePeripheral&, const std::optional<BleError>&) {}
    virtual void didDiscoverCharacteristicsFor(BlePeripheral&, const std::shared_ptr<BleService>&,
                                               const std::optional<BleError>&) {}
    virtual void didUpdateNotificationStateFor(BlePeripheral&, const std::shared_ptr<BleCharacteristic>&,
                                               const std::optional<BleError>&) {}
    virtual void didWriteValueFor(BlePeripheral&, const std::shared_ptr<BleCharacteristic>&,
                                  const std::optional<BleError>&) {}
    // A value read or notified; the bytes are passed along so that a later update cannot replace them first.
    virtual void didUpdateValueFor(BlePeripheral&, const std::shared_ptr<BleCharacteristic>&,
                                   const std::optional<BleBytes>&, const std::optional<BleError>&) {}
};

// One remote device. Requests return at once; their results come to the delegate.
class PRELIX10_EXPORT BlePeripheral {
public:
    virtual ~BlePeripheral() = default;

    // The stack's identifier of the device (the device address where the stack exposes it).
    virtual std::string identifier() const = 0;
    virtual std::optional<std::string> name() const = 0;
    virtual BlePeripheralState state() const = 0;

    // Held weakly: a delegate that is gone receives nothing.
    virtual void setDelegate(std::weak_ptr<BlePeripheralDelegate> delegate) = 0;

    // None for every service.
    virtual void discoverServices(const std::optional<std::vector<BleUuid>>& uuids) = 0;
    // None until services have been discovered.
    virtual std::optional<std::vector<std::shared_ptr<BleService>>> services() const = 0;
    virtual void discoverCharacteristics(const std::optional<std::vector<BleUuid>>& uuids,
                                         const std::shared_ptr<BleService>& service) = 0;

    virtual void setNotifyValue(bool enabled, const std::shared_ptr<BleCharacteristic>& characteristic) = 0;
    // With response the delegate hears didWriteValueFor; without response nothing comes back.
    virtual void writeValue(const BleBytes& data, const std::shared_ptr<BleCharacteristic>& characteristic,
                            BleWriteType type) = 0;
    virtual bool canSendWriteWithoutResponse() const = 0;
    // The largest value one write of this type carries; a stack may report 0 or less when it has no usable length.
    virtual int maximumWriteValueLength(BleWriteType type) const = 0;
};

// Results of the central's requests, on a backend thread.
class PRELIX10_EXPORT BleCentralDelegate {
public:
    virtual ~BleCentralDelegate() = default;
    virtual void didUpdateState(BleManagerState) {}
    virtual void didDiscover(const std::shared_ptr<BlePeripheral>&, const BleAdvertisementData&, int /*rssi*/) {}
    virtual void didConnect(const std::shared_ptr<BlePeripheral>&) {}
    virtual void didFailToConnect(const std::shared_ptr<BlePeripheral>&, const std::optional<BleError>&) {}
    virtual void didDisconnect(const std::shared_ptr<BlePeripheral>&, const std::optional<BleError>&) {}
};

// Options handed to a connect, by name; the stack ignores those it does not know.
using BleConnectOptions = std::map<std::string, std::string>;

class PRELIX10_EXPORT BleCentral {
public:
    virtual ~BleCentral() = default;

    virtual BleManagerState state() const = 0;
    virtual void setDelegate(std::weak_ptr<BleCentralDelegate> delegate) = 0;

    virtual bool isScanning() const = 0;
    // None scans for every service. With duplicates allowed every advertisement is reported.
    virtual void scan(const std::optional<std::vector<BleUuid>>& services, bool allowDuplicates) = 0;
    virtual void stopScan() = 0;

    virtual void connect(const std::shared_ptr<BlePeripheral>& peripheral,
                         const std::optional<BleConnectOptions>& options) = 0;
    // Also cancels a connect still pending.
    virtual void cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral) = 0;
};

// The process's Bluetooth LE stack. The application may install one (BlueZBleCentral on a bus of its choice, or
// any other); installing none means no stack, whose central reports unsupported, so that every user fails at
// once with "Bluetooth unavailable.". Until anything is installed, the first use picks the default: BlueZ on
// the system bus when that bus is there (it reports unsupported while no org.bluez serves it), else no stack.
// PRELIX10_BLE_BACKEND=none in the environment makes the default no stack without looking at the bus.
class PRELIX10_EXPORT BleBackend {
public:
    static void install(std::shared_ptr<BleCentral> central);
    // The installed central, or the default one.
    static std::shared_ptr<BleCentral> central();

private:
    static std::mutex& mutex();
    static std::shared_ptr<BleCentral>& slot();
};

}  // namespace Prelix10
