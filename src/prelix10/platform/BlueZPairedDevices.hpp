#pragma once

// The paired Bluetooth (classic) devices that offer the serial-port service, as BlueZ lists them: its
// ObjectManager's org.bluez.Device1 objects with their Address, Name (or Alias), Paired and UUIDs. One bus
// connection, made at the first query and kept for the next ones; every query is bounded in time, and a bus
// or a BlueZ that is not there, or an error reply, gives an empty list.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "prelix10/platform/BluetoothSerialAccessorySource.hpp"

struct sd_bus_message;

namespace Prelix10 {

class DBusConnection;

class BlueZPairedDevices {
public:
    static constexpr std::size_t kMaxDevices = 256;
    static constexpr std::chrono::milliseconds kDefaultTimeout{2000};

    // The bus address ("unix:path=..."); empty for the machine's system bus.
    explicit BlueZPairedDevices(std::string busAddress = {}, std::chrono::milliseconds timeout = kDefaultTimeout);
    // Closes the connection and joins its thread.
    ~BlueZPairedDevices();
    BlueZPairedDevices(const BlueZPairedDevices&) = delete;
    BlueZPairedDevices& operator=(const BlueZPairedDevices&) = delete;

    // The paired serial-port devices BlueZ knows now. Blocks for at most the timeout (and the connection's
    // set-up, which for a local socket is immediate).
    std::vector<PairedBluetoothDevice> list();

    // The paired serial-port devices of a GetManagedObjects reply (a{oa{sa{sv}}}), at most kMaxDevices.
    // The reply is untrusted: a wrong signature gives none, and a property of an unexpected type is
    // taken as missing.
    static std::vector<PairedBluetoothDevice> fromManagedObjects(sd_bus_message* reply);

private:
    struct Query;

    const std::string address_;
    const std::chrono::milliseconds timeout_;
    std::mutex mutex_;
    std::unique_ptr<DBusConnection> connection_;
    // Set on the connection's thread when the connection could not be made or was lost.
    std::shared_ptr<std::atomic<bool>> lost_;
    std::chrono::steady_clock::time_point lastAttempt_{};
};

}  // namespace Prelix10
