#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/transport/BLEService.hpp"
#include "prelix10/transport/BaseRawPort.hpp"
#include "prelix10/transport/BluetoothLEInformation.hpp"

namespace Prelix10 {

// The raw port over one GATT service of a Bluetooth LE device: writes go to the service's write
// characteristic in chunks no larger than the peripheral takes, paced 10 ms apart; reads take what the
// peripheral notified. Lookup, open and write run on worker threads that hold the port's state, not the port,
// so a port destroyed mid-operation ends that operation with its error; the destructor waits for them.
class BluetoothLEPort : public BaseRawPort, public BaseRawPortProtocol {
public:
    static constexpr int kInitialMtu = 512;
    // The chunk size of the models that take small chunks whatever the peripheral reports.
    static constexpr int kSmallModelChunkSize = 100;
    // Used when the peripheral reports no usable write length: the smallest payload every link carries.
    static constexpr int kFallbackChunkSize = 20;
    static constexpr std::chrono::milliseconds kChunkPause{10};

    BluetoothLEPort(BLEService targetBLEService, std::string identifier);
    ~BluetoothLEPort() override;
    BluetoothLEPort(const BluetoothLEPort&) = delete;
    BluetoothLEPort& operator=(const BluetoothLEPort&) = delete;

    bool internalIsConnected() const override;
    InterfaceType internalInterfaceType() const override { return InterfaceType::bluetoothLE; }
    std::vector<std::string> internalIdentifiers() const override;
    void internalCheckAvailability() override;
    void internalFindDevice(std::int64_t timeout, Completion completion) override;
    void internalOpen(std::int64_t timeout, Completion completion) override;
    void internalClose() override;
    void internalReadOnce(std::int64_t size, ReadCompletion completion) override;
    void internalReadOnce(ByteRange range, ReadCompletion completion) override;
    void internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) override;
    void internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) override;

    // As the base, and a close while the read waits ends it at once with "Not opened.".
    ByteBlock readUntilSize(std::int64_t size, std::int64_t timeout) override;
    // Wakes when the peripheral notifies bytes, or when the port closes.
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override;

    BLEService targetBLEService() const;
    const BleUuid& targetServiceUUID() const;
    const BleUuid& targetServiceWriteUUID() const;
    const BleUuid& targetServiceNotifyUUID() const;

    // Set by the lookup and kept after close; a port given one skips the lookup.
    std::shared_ptr<BluetoothLEInformation> information() const;
    void setInformation(std::shared_ptr<BluetoothLEInformation> information);

    int mtu() const;
    BleWriteType writeType() const;
    // Also takes the peripheral's largest write length for the type as the MTU while a peripheral is attached.
    void setWriteType(BleWriteType type);
    OrvoPrinterModel printerModel() const;
    // The size the next write is cut into: 100 for the small-chunk models, else the MTU, never below 1.
    int chunkSize() const;

    // While on, the log shows how many bytes each write chunk held, never the bytes: for requests that carry a
    // secret. Writes of one port run one at a time, so the caller switches it on around one write.
    void setConcealsWrites(bool conceal);
    // The same for the notifications received, while a secret request waits for its reply (the module may echo
    // it). Applies to the link open now.
    void setConcealsReads(bool conceal);

    // Notified bytes not yet taken, and worker operations still running (for tests).
    int bufferedByteCount() const;
    std::size_t operationsInFlight() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

class BluetoothLEPrintPort final : public BluetoothLEPort {
public:
    explicit BluetoothLEPrintPort(std::string identifier)
        : BluetoothLEPort(BLEService::printService, std::move(identifier)) {}
    ~BluetoothLEPrintPort() override = default;
};

class BluetoothLESettingPort final : public BluetoothLEPort {
public:
    explicit BluetoothLESettingPort(std::string identifier)
        : BluetoothLEPort(BLEService::atService, std::move(identifier)) {}
    ~BluetoothLESettingPort() override = default;
};

}  // namespace Prelix10
