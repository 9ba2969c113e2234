#pragma once

// Paired Bluetooth (classic) devices that offer the serial-port service, as accessories. The paired-device
// list comes from a provider (the BlueZ Device1 objects' Address, Name, Paired and UUIDs): the application's
// own, or BlueZ on the system bus in the machine's backend (SystemAccessoryBackend.hpp). A session is an RFCOMM stream socket to the device, on the
// channel of its service record or channel 1, or a bound /dev/rfcomm* terminal when one is named.

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/platform/DeviceAccessoryManager.hpp"

namespace Prelix10 {

struct PairedBluetoothDevice {
    std::string address;  // "00:11:62:AA:BB:CC"
    std::string name;
    bool paired = false;
    std::vector<std::string> uuids;
    // From the device's serial-port service record, when known.
    std::optional<int> channel;
    // A terminal bound to the device (rfcomm bind), used in place of a socket when set.
    std::string terminalPath;
};

struct BluetoothSerialOptions {
    static constexpr const char* kSerialPortUuid = "00001101-0000-1000-8000-00805f9b34fb";
    static constexpr int kDefaultChannel = 1;

    // Called on the scan thread; must be bounded in time. When empty, the machine's backend asks BlueZ.
    std::function<std::vector<PairedBluetoothDevice>()> pairedDevices;
    // The bus on which the machine's backend asks BlueZ; empty for the system bus.
    std::string blueZBusAddress;
    // The system does not tell a classic device's maker: every listed device reports this manufacturer.
    // Unset, it is what PRELIX10_BLUETOOTH_MANUFACTURER names, or else the maker's name.
    static constexpr const char* kMakersName = "Orvo";
    std::optional<std::string> manufacturer;
    // Opens a non-blocking RFCOMM stream socket to the address and channel, or -1. None here connects a
    // real AF_BLUETOOTH socket.
    std::function<int(const std::string& address, int channel)> connectSocket;
};

// A socket's connect runs across the opener's retries: an open starts it and gives no session, and later
// opens look at it without waiting, handing the socket out only once it is connected (room to write, then no
// pending error). A connect that the opener stopped asking about is dropped.
class BluetoothSerialAccessorySource final : public DeviceAccessorySource {
public:
    // A connect nobody asked about for this long is given up.
    static constexpr std::chrono::milliseconds kAbandonedConnect{1000};

    explicit BluetoothSerialAccessorySource(BluetoothSerialOptions options = {});
    ~BluetoothSerialAccessorySource() override;
    BluetoothSerialAccessorySource(const BluetoothSerialAccessorySource&) = delete;
    BluetoothSerialAccessorySource& operator=(const BluetoothSerialAccessorySource&) = delete;

    std::vector<DeviceAccessoryRecord> scan() override;
    int open(const DeviceAccessoryRecord& record) override;

    // A non-blocking RFCOMM socket with its connection under way, or -1 (no Bluetooth, bad address).
    static int connectRfcomm(const std::string& address, int channel);

private:
    struct PendingConnect {
        int fd = -1;
        std::chrono::steady_clock::time_point lastAsked;
    };
    int openSocket(const DeviceAccessoryRecord& record);
    void dropAbandoned(std::chrono::steady_clock::time_point now);

    const BluetoothSerialOptions options_;
    const std::string manufacturer_;
    std::mutex mutex_;
    std::map<std::string, PendingConnect> pending_;  // by record key
};

}  // namespace Prelix10
