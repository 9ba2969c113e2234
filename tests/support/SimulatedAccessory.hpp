#pragma once

// An in-process accessory system for tests, written from the devices' side: connected accessories that
// accept sessions for their protocol strings and hand what the host writes to a device engine (the virtual
// printer), whose answers come back on the input stream. Stream events and the engine's unsolicited output
// come from one link thread, in order, with no simulator lock held. Fault knobs refuse sessions, leave out a
// stream, take no bytes, fail reads, or disconnect the accessory.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/platform/AccessoryManager.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

struct SimulatedAccessoryConfig {
    std::string manufacturer = "Orvo";
    std::string name = "Wexal-T10";
    std::string modelNumber = "WXT10";
    std::string serialNumber = "00:11:62:AA:BB:CC";
    // None gives the maker's protocol string.
    std::optional<std::vector<std::string>> protocolStrings;
    EAAccessoryType transport = EAAccessoryType::bluetooth;
    // The connected-interface code the printer behind it reports in its status block (16 to 19 Bluetooth,
    // 0 to 15 but 2 and 3 USB); none leaves the engine's state as it is.
    std::optional<int> connectedInterface;
};

struct SimulatedAccessoryFaults {
    // Sessions refused before one is given; refuseAlways refuses every one.
    int refuseSessions = 0;
    bool refuseAlways = false;
    bool missingInputStream = false;
    bool missingOutputStream = false;
    // The output stream has no room: hasSpaceAvailable is false and nothing is taken.
    bool noSpace = false;
    // The largest piece one output write takes.
    std::size_t outputChunk = 4096;
    // This many reads report an error (a negative count) before reads work again; the input stream then
    // says it has bytes, so that the host reads.
    int failingReads = 0;
    // Sent in front of every answer of the device (a late reply to an earlier command, line noise).
    Bytes replyPrefix;
};

// What the host wrote, with the time the device took it.
struct SimulatedAccessoryWrite {
    std::chrono::steady_clock::time_point at;
    Bytes bytes;
};

class SimulatedAccessoryLink;
struct SimulatedAccessorySessionState;

class SimulatedAccessory final : public Accessory, public std::enable_shared_from_this<SimulatedAccessory> {
public:
    // With an engine, each session is a data session of it; without one the device answers nothing.
    static std::shared_ptr<SimulatedAccessory> make(SimulatedAccessoryConfig config,
                                                    std::shared_ptr<VirtualPrinterEngine> engine = nullptr);
    ~SimulatedAccessory() override;

    // Accessory
    std::uint64_t connectionID() const override;
    bool isConnected() const override;
    std::string manufacturer() const override { return config_.manufacturer; }
    std::string name() const override { return config_.name; }
    std::string modelNumber() const override { return config_.modelNumber; }
    std::string serialNumber() const override { return config_.serialNumber; }
    std::vector<std::string> protocolStrings() const override;
    EAAccessoryType transportType() const override { return config_.transport; }

    // Knobs.
    void setFaults(const SimulatedAccessoryFaults& faults);
    SimulatedAccessoryFaults faults() const;
    // The accessory goes away: its sessions' streams end, and it leaves the connected list.
    void disconnect();
    // It comes back with a new connection ID.
    void reconnect();
    // The device sends these bytes on the open session's input stream (noise, a late reply).
    void deviceSend(std::span<const std::uint8_t> bytes);

    // What the device saw.
    std::vector<SimulatedAccessoryWrite> writes() const;
    Bytes receivedBytes() const;
    std::size_t sessionRequests() const;
    std::size_t sessionsGiven() const;
    // Sessions whose streams are still open.
    std::size_t openSessions() const;

private:
    friend class SimulatedAccessoryManager;
    friend class SimulatedAccessoryInput;
    friend class SimulatedAccessoryOutput;
    SimulatedAccessory(SimulatedAccessoryConfig config, std::shared_ptr<VirtualPrinterEngine> engine);

    std::shared_ptr<AccessorySession> openSession(const std::string& protocolString,
                                                  const std::shared_ptr<SimulatedAccessoryLink>& link);
    void recordWrite(std::span<const std::uint8_t> bytes);
    // Fails one read when a failing read is due.
    bool takeFailingRead();

    const SimulatedAccessoryConfig config_;
    const std::shared_ptr<VirtualPrinterEngine> engine_;

    mutable std::mutex mutex_;
    SimulatedAccessoryFaults faults_;
    std::uint64_t connectionID_;
    bool connected_ = true;
    std::vector<std::weak_ptr<SimulatedAccessorySessionState>> sessions_;
    std::vector<SimulatedAccessoryWrite> writes_;
    Bytes received_;
    std::size_t sessionRequests_ = 0;
    std::size_t sessionsGiven_ = 0;
};

class SimulatedAccessoryManager final : public AccessoryManager {
public:
    SimulatedAccessoryManager();
    ~SimulatedAccessoryManager() override;

    void addAccessory(const std::shared_ptr<SimulatedAccessory>& accessory);
    void removeAccessory(const std::shared_ptr<SimulatedAccessory>& accessory);
    // The accessory drops its link and connects again under a new connection ID.
    void reconnectAccessory(const std::shared_ptr<SimulatedAccessory>& accessory);

    // AccessoryManager
    std::vector<std::shared_ptr<Accessory>> connectedAccessories() const override;
    std::shared_ptr<AccessorySession> openSession(const std::shared_ptr<Accessory>& accessory,
                                                  const std::string& protocolString) override;
    void setObserver(std::weak_ptr<AccessoryManagerObserver> observer) override;

private:
    std::shared_ptr<SimulatedAccessoryLink> link_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimulatedAccessory>> accessories_;
    std::weak_ptr<AccessoryManagerObserver> observer_;
};

}  // namespace Prelix10::Testing
