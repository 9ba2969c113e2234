#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "prelix10/core/EAAccessoryType.hpp"
#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/platform/AccessoryManager.hpp"
#include "prelix10/transport/BaseRawPort.hpp"

namespace Prelix10 {

// What the two accessory ports say of themselves.
class EAAccessoryPortProtocol {
public:
    virtual ~EAAccessoryPortProtocol() = default;
    virtual EAAccessoryType accessoryType() const = 0;
    virtual void checkAccessoryAvailability() = 0;
};

// The raw port over one accessory session. The open runs on a thread of the port's own, which then pumps
// the session every 10 ms (sooner when the streams report bytes or room): up to 1024 received bytes into
// the response cache, and as much of the pending write data as the output stream takes. Writes complete
// when the pump has handed every byte to the stream. The accessory found by the lookup, and its
// identifiers, stay after close, so a later open skips the lookup. The pump holds the port's state, not the
// port: a port destroyed while it runs stops it and waits for it, or, destroyed on the pump's own thread,
// lets it end by itself after the current pass.
class EAAccessoryPort : public BaseRawPort, public BaseRawPortProtocol {
public:
    static constexpr int kResponseCacheSize = 65535;
    static constexpr std::size_t kReadSize = 1024;
    static constexpr std::chrono::milliseconds kPumpInterval{10};

    explicit EAAccessoryPort(std::string identifier);
    ~EAAccessoryPort() override;
    EAAccessoryPort(const EAAccessoryPort&) = delete;
    EAAccessoryPort& operator=(const EAAccessoryPort&) = delete;

    bool internalIsConnected() const override;
    InterfaceType internalInterfaceType() const override;
    std::vector<std::string> internalIdentifiers() const override;
    void internalCheckAvailability() override;
    void internalFindDevice(std::int64_t timeout, Completion completion) override;
    void internalOpen(std::int64_t timeout, Completion completion) override;
    void internalClose() override;
    void internalReadOnce(std::int64_t size, ReadCompletion completion) override;
    void internalReadOnce(ByteRange range, ReadCompletion completion) override;
    void internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) override;
    void internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) override;

    // Also ends a session that the accessory ended by itself (it is no longer connected, but its pump still
    // has to be joined and its bytes released).
    void close() override;
    // Wakes when the pump has moved received bytes into the cache, or when the session ends.
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override;

    // Set by the lookup, or by a caller that found the accessory itself, and kept after close.
    std::shared_ptr<Accessory> accessory() const;
    void setAccessory(std::shared_ptr<Accessory> accessory);
    std::optional<OrvoConnectionIdentifier> connectionIdentifier() const;
    void setConnectionIdentifier(std::optional<OrvoConnectionIdentifier> identifier);
    // The accessory's model number, empty without an accessory.
    std::string modelNumber() const;

    // Received bytes not yet taken, and write bytes not yet handed to the stream (for tests).
    int bufferedByteCount() const;
    std::size_t pendingWriteCount() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

// A Bluetooth (classic) printer reached as an accessory; the radio must be on.
class BluetoothPort final : public EAAccessoryPort, public EAAccessoryPortProtocol {
public:
    explicit BluetoothPort(std::string identifier) : EAAccessoryPort(std::move(identifier)) {}
    EAAccessoryType accessoryType() const override { return EAAccessoryType::bluetooth; }
    // "Bluetooth unavailable." unless the Bluetooth radio reports itself powered on within 2000 ms.
    void checkAccessoryAvailability() override;
};

// A USB printer reached as an accessory.
class USBPort final : public EAAccessoryPort, public EAAccessoryPortProtocol {
public:
    explicit USBPort(std::string identifier) : EAAccessoryPort(std::move(identifier)) {}
    EAAccessoryType accessoryType() const override { return EAAccessoryType::usb; }
    void checkAccessoryAvailability() override {}
};

}  // namespace Prelix10
