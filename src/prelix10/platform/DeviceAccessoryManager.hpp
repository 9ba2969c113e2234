#pragma once

// The accessory system of a Linux machine: accessories found by sources (USB printer-class devices,
// paired Bluetooth serial-port devices), re-scanned on the manager's own thread at least once a second so
// that connects and disconnects reach the observer within a second. A session is a descriptor the source
// opens, run by FileDescriptorAccessoryLink. An accessory that goes away ends its open sessions.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/platform/AccessoryManager.hpp"
#include "prelix10/platform/DescriptorCalls.hpp"

namespace Prelix10 {

// What a source knows of one device it found.
struct DeviceAccessoryRecord {
    // Tells this device from the others of its source; a device that comes back under another key is a new
    // connection.
    std::string key;
    std::string manufacturer;
    std::string name;
    std::string modelNumber;
    std::string serialNumber;
    // Where the device is attached (a USB device's bus path, such as "1-1.4"): it stands for the serial
    // number of a device that reports none, so that two such devices of one model stay apart.
    std::string location;
    std::vector<std::string> protocolStrings;
    EAAccessoryType transport = EAAccessoryType::unknown;
    // Where the source opens it: a device node, or a Bluetooth address with its channel.
    std::string target;
    int channel = 0;
};

class DeviceAccessorySource {
public:
    virtual ~DeviceAccessorySource() = default;
    // The devices present now. Runs on the manager's scan thread; must be bounded in time.
    virtual std::vector<DeviceAccessoryRecord> scan() = 0;
    // A non-blocking descriptor for a session with the device, or -1 when there is none now. Must return at
    // once. Throws the inUse error when another process holds the device.
    virtual int open(const DeviceAccessoryRecord& record) = 0;
    // The calls the session makes on that descriptor; none for the system's own.
    virtual std::shared_ptr<DescriptorCalls> descriptorCalls() const { return nullptr; }
};

// The protocol strings a printer of this manufacturer is reached by: its accessory protocol string, named in
// reverse-DNS form after the manufacturer ("com." + the manufacturer's letters and digits in lower case +
// ".printer"). None for a device that names no manufacturer.
std::vector<std::string> printerProtocolStringsFor(const std::string& manufacturer);

class DeviceAccessoryManager final : public AccessoryManager {
public:
    static constexpr std::chrono::milliseconds kMaxRescanInterval{1000};

    // Scans once before it returns, then every interval (capped at one second) on its own thread.
    DeviceAccessoryManager(std::vector<std::shared_ptr<DeviceAccessorySource>> sources,
                           std::chrono::milliseconds rescanInterval = std::chrono::milliseconds(500));
    ~DeviceAccessoryManager() override;
    DeviceAccessoryManager(const DeviceAccessoryManager&) = delete;
    DeviceAccessoryManager& operator=(const DeviceAccessoryManager&) = delete;

    std::vector<std::shared_ptr<Accessory>> connectedAccessories() const override;
    std::shared_ptr<AccessorySession> openSession(const std::shared_ptr<Accessory>& accessory,
                                                  const std::string& protocolString) override;
    void setObserver(std::weak_ptr<AccessoryManagerObserver> observer) override;

    // Scans now, on the caller's thread, and reports the changes (tests use it to skip the wait).
    void rescan();

    class DeviceAccessory;
    struct Core;

private:
    // The scan thread holds the core too, so that a manager dropped inside an observer's call (on that
    // thread) leaves the thread to end by itself.
    std::shared_ptr<Core> core_;
    std::thread thread_;
};

}  // namespace Prelix10
