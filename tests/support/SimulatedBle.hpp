#pragma once

// An in-process Bluetooth LE stack for tests, written from the devices' side: a central whose peripherals
// advertise, accept connections, offer the maker's print and setting services, and hand what is written to them
// to a device engine (the virtual printer) whose answers come back as notifications cut at the MTU. Every
// callback runs on one radio thread, in order; fault knobs delay or withhold answers, refuse pairing, lose a
// characteristic, keep the peripheral busy or drop the link.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/platform/BleCentral.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

// One thread that runs posted items in the order of their due time (ties in posting order).
class SimulatedBleRadio {
public:
    SimulatedBleRadio();
    ~SimulatedBleRadio();
    SimulatedBleRadio(const SimulatedBleRadio&) = delete;
    SimulatedBleRadio& operator=(const SimulatedBleRadio&) = delete;

    void post(std::chrono::milliseconds delay, std::function<void()> item);
    bool isCurrent() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

// Answers that the peripheral delays (late) or never gives (stalled).
struct SimulatedBleFaults {
    bool neverConnect = false;
    bool neverDiscoverServices = false;
    bool neverDiscoverCharacteristics = false;
    bool neverAnswerNotify = false;
    bool neverAcknowledgeWrite = false;
    std::chrono::milliseconds connectDelay{0};
    std::chrono::milliseconds discoverDelay{0};
    std::chrono::milliseconds notifyDelay{0};
    std::chrono::milliseconds writeAcknowledgeDelay{0};
    // The service lacks its notify characteristic.
    bool missingNotifyCharacteristic = false;
    // The notification switch is answered with this attribute-protocol error (15 is "insufficient encryption").
    std::optional<int> notifyAttError;
    // No room for a write without response.
    bool busy = false;
};

struct SimulatedBlePeripheralConfig {
    std::string address = "00:11:62:AA:BB:CC";
    std::string name = "Wexal-T10-BLE";
    // Advertised as the local name; none advertises no name.
    std::optional<std::string> localName = std::string("Wexal-T10-BLE");
    bool printService = true;
    bool atService = false;
    // What maximumWriteValueLength reports per write type; 0 or less is allowed (a broken stack).
    int mtuWithResponse = 512;
    int mtuWithoutResponse = 512;
    // The largest notification the device sends.
    int notifyLength = 180;
    bool paired = true;
    // The manufacturer data of each advertisement; none advertises none.
    std::optional<BleBytes> manufacturerData;
    int rssi = -50;
};

// Manufacturer data as the maker's devices advertise it: the company identifier, the six address bytes of
// the address text (colons or not), then either ';' and the model name (print only), or a marker byte, the
// model name, ';', the capability byte and, when given, the wireless LAN status byte.
BleBytes advertisedPrintOnly(const std::string& address, const std::string& model);
BleBytes advertisedWithSetting(const std::string& address, const std::string& model, std::uint8_t capabilities,
                               std::optional<std::uint8_t> statusByte);

// A setting device (a printer or interface module with the wireless LAN setting service): the AT service with its
// write and notify characteristics, the print service too when asked, advertised in the long form with the
// setting capability (and the print capability with the print service) and, when given, a status byte.
SimulatedBlePeripheralConfig settingDeviceConfig(const std::string& address, const std::string& model,
                                                 bool printService = false,
                                                 std::optional<std::uint8_t> statusByte = std::nullopt);

class SimulatedBleCentral;

class SimulatedBleCharacteristic final : public BleCharacteristic {
public:
    explicit SimulatedBleCharacteristic(BleUuid uuid) : uuid_(std::move(uuid)) {}
    BleUuid uuid() const override { return uuid_; }
    std::optional<BleBytes> value() const override;
    void setValue(BleBytes value);

private:
    const BleUuid uuid_;
    mutable std::mutex mutex_;
    std::optional<BleBytes> value_;
};

class SimulatedBleService final : public BleService {
public:
    explicit SimulatedBleService(BleUuid uuid) : uuid_(std::move(uuid)) {}
    BleUuid uuid() const override { return uuid_; }
    std::optional<std::vector<std::shared_ptr<BleCharacteristic>>> characteristics() const override;
    void setCharacteristics(std::vector<std::shared_ptr<BleCharacteristic>> list);

private:
    const BleUuid uuid_;
    mutable std::mutex mutex_;
    std::optional<std::vector<std::shared_ptr<BleCharacteristic>>> characteristics_;
};

// What the peripheral saw, with times, for pacing checks.
struct SimulatedBleWrite {
    std::chrono::steady_clock::time_point at;
    BleBytes bytes;
    BleWriteType type;
};

class SimulatedBlePeripheral final : public BlePeripheral, public std::enable_shared_from_this<SimulatedBlePeripheral> {
public:
    // With an engine, the print service's writes go to a data session of it; the setting service answers through
    // the handler, when one is given.
    using SettingHandler = std::function<Bytes(std::span<const std::uint8_t>)>;
    static std::shared_ptr<SimulatedBlePeripheral> make(SimulatedBlePeripheralConfig config,
                                                         std::shared_ptr<VirtualPrinterEngine> engine = nullptr,
                                                         SettingHandler settingHandler = nullptr);

    // BlePeripheral
    std::string identifier() const override;
    std::optional<std::string> name() const override;
    BlePeripheralState state() const override;
    void setDelegate(std::weak_ptr<BlePeripheralDelegate> delegate) override;
    void discoverServices(const std::optional<std::vector<BleUuid>>& uuids) override;
    std::optional<std::vector<std::shared_ptr<BleService>>> services() const override;
    void discoverCharacteristics(const std::optional<std::vector<BleUuid>>& uuids,
                                 const std::shared_ptr<BleService>& service) override;
    void setNotifyValue(bool enabled, const std::shared_ptr<BleCharacteristic>& characteristic) override;
    void writeValue(const BleBytes& data, const std::shared_ptr<BleCharacteristic>& characteristic,
                    BleWriteType type) override;
    bool canSendWriteWithoutResponse() const override;
    int maximumWriteValueLength(BleWriteType type) const override;

    // Knobs.
    void setFaults(const SimulatedBleFaults& faults);
    SimulatedBleFaults faults() const;
    void setMtu(int withResponse, int withoutResponse);
    void setPaired(bool paired);
    // The RSSI reported with each advertisement from now on.
    void setRssi(int rssi);
    int rssi() const;
    std::size_t advertisementCount() const;
    // The link drops: the peripheral is disconnected and the central hears of it.
    void dropLink();
    // The device notifies these bytes (cut at the notification length) on the service's notify characteristic.
    void notify(std::span<const std::uint8_t> bytes);

    // What the peripheral saw.
    std::vector<SimulatedBleWrite> writes() const;
    std::vector<std::chrono::steady_clock::time_point> writeRoomPolls() const;
    BleBytes receivedBytes() const;
    std::size_t connectCount() const;
    bool isNotifying() const;
    const SimulatedBlePeripheralConfig& config() const { return config_; }
    BleAdvertisementData advertisementData() const;

private:
    friend class SimulatedBleCentral;
    SimulatedBlePeripheral(SimulatedBlePeripheralConfig config, std::shared_ptr<VirtualPrinterEngine> engine,
                           SettingHandler handler);

    void attach(const std::shared_ptr<SimulatedBleRadio>& radio, const std::shared_ptr<SimulatedBleCentral>& central);
    // The central's side of a connect; returns the delay of the answer, or none when it never comes.
    std::optional<std::chrono::milliseconds> beginConnect(std::uint64_t attempt);
    bool finishConnect(std::uint64_t attempt);
    void cancelConnection();
    void post(std::chrono::milliseconds delay, std::function<void(BlePeripheralDelegate&)> callback);
    void schedulePoll(std::uint64_t link);
    void notifyLocked(std::span<const std::uint8_t> bytes, std::uint64_t link, const BleUuid& service);
    std::shared_ptr<SimulatedBleCharacteristic> notifyCharacteristicOf(const BleUuid& service) const;

    const SimulatedBlePeripheralConfig config_;
    const std::shared_ptr<VirtualPrinterEngine> engine_;
    const SettingHandler settingHandler_;
    std::weak_ptr<SimulatedBleRadio> radio_;
    std::weak_ptr<SimulatedBleCentral> central_;

    mutable std::mutex mutex_;
    std::weak_ptr<BlePeripheralDelegate> delegate_;
    SimulatedBleFaults faults_;
    int mtuWithResponse_;
    int mtuWithoutResponse_;
    bool paired_;
    BlePeripheralState state_ = BlePeripheralState::disconnected;
    std::uint64_t attempt_ = 0;
    std::uint64_t link_ = 0;  // changes whenever the link goes down, so that stale work stops
    std::vector<std::shared_ptr<SimulatedBleService>> offered_;
    std::optional<std::vector<std::shared_ptr<BleService>>> discovered_;
    std::map<BleUuid, bool> notifying_;
    std::unique_ptr<PrinterSession> session_;
    std::vector<SimulatedBleWrite> writes_;
    mutable std::vector<std::chrono::steady_clock::time_point> roomPolls_;
    BleBytes received_;
    std::size_t connects_ = 0;
    int rssi_;
    std::size_t advertisements_ = 0;
};

class SimulatedBleCentral final : public BleCentral, public std::enable_shared_from_this<SimulatedBleCentral> {
public:
    static std::shared_ptr<SimulatedBleCentral> make(BleManagerState state = BleManagerState::poweredOn);
    ~SimulatedBleCentral() override;

    void addPeripheral(const std::shared_ptr<SimulatedBlePeripheral>& peripheral);
    // Changes the radio's state and reports it to the delegate after the delay.
    void setState(BleManagerState state, std::chrono::milliseconds reportDelay = std::chrono::milliseconds(0));
    void setAdvertisingInterval(std::chrono::milliseconds interval);
    std::size_t scanStarts() const;

    // BleCentral
    BleManagerState state() const override;
    void setDelegate(std::weak_ptr<BleCentralDelegate> delegate) override;
    bool isScanning() const override;
    void scan(const std::optional<std::vector<BleUuid>>& services, bool allowDuplicates) override;
    void stopScan() override;
    void connect(const std::shared_ptr<BlePeripheral>& peripheral, const std::optional<BleConnectOptions>& options) override;
    void cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral) override;

private:
    SimulatedBleCentral(BleManagerState state);
    void advertise(std::uint64_t scan);
    void reportDisconnect(const std::shared_ptr<SimulatedBlePeripheral>& peripheral);
    std::shared_ptr<SimulatedBlePeripheral> find(const std::shared_ptr<BlePeripheral>& peripheral) const;

    friend class SimulatedBlePeripheral;
    std::shared_ptr<SimulatedBleRadio> radio_;
    mutable std::mutex mutex_;
    std::weak_ptr<BleCentralDelegate> delegate_;
    BleManagerState state_;
    std::vector<std::shared_ptr<SimulatedBlePeripheral>> peripherals_;
    bool scanning_ = false;
    std::uint64_t scan_ = 0;
    std::size_t scanStarts_ = 0;
    std::chrono::milliseconds advertisingInterval_{20};
};

}  // namespace Prelix10::Testing
