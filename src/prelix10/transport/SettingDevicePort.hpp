#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

// The port a setting device speaks through: a thin layer over one opened raw port. Opening the transport and
// the exclusive-open registration belong to the setting device; close() closes the transport.
class SettingDevicePort {
public:
    virtual ~SettingDevicePort() = default;

    virtual RawPort& rawPort() const = 0;
    virtual std::shared_ptr<RawPort> sharedRawPort() const = 0;
    virtual void initialize(std::int64_t timeout) = 0;
    virtual bool isConnected() const = 0;
    virtual void close() = 0;
    virtual ByteBlock readOnce(std::int64_t size) = 0;
    virtual void waitForIncomingBytes(std::chrono::milliseconds maxWait) = 0;
    virtual void clearReadBuffer() = 0;
    virtual void write(const ByteBlock& data, std::int64_t timeout) = 0;
    // As write, for a request that carries a secret: the bytes sent are the same, but no log line shows them.
    virtual void writeConcealed(const ByteBlock& data, std::int64_t timeout) = 0;
    // While on, the log shows received bytes by their count only: switched on while the reply to a concealed
    // request is awaited, since a module with echo on sends the request, secret and all, back first.
    virtual void setConcealsReplies(bool) {}
};

// Marks the concrete setting-device port classes; the base class acts only for them.
class BaseSettingDevicePortProtocol {
public:
    virtual ~BaseSettingDevicePortProtocol() = default;
};

// Forwards every call to the raw port unchanged, with no buffering, retry or timing of its own.
class BaseSettingDevicePort : public SettingDevicePort {
public:
    explicit BaseSettingDevicePort(std::shared_ptr<RawPort> rawPort) : rawPort_(std::move(rawPort)) {}

    RawPort& rawPort() const override { return *rawPort_; }
    std::shared_ptr<RawPort> sharedRawPort() const override { return rawPort_; }
    // Nothing to prepare: nothing is written or read.
    void initialize(std::int64_t timeout) override;
    bool isConnected() const override { return rawPort_->isConnected(); }
    void close() override;
    ByteBlock readOnce(std::int64_t size) override;
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override { rawPort_->waitForIncomingBytes(maxWait); }
    void clearReadBuffer() override { rawPort_->clearReadBuffer(); }
    void write(const ByteBlock& data, std::int64_t timeout) override { rawPort_->write(data, timeout); }
    void writeConcealed(const ByteBlock& data, std::int64_t timeout) override;
    void setConcealsReplies(bool conceal) override;

private:
    bool adoptsProtocol() const { return dynamic_cast<const BaseSettingDevicePortProtocol*>(this) != nullptr; }

    const std::shared_ptr<RawPort> rawPort_;
};

// The setting-device port over a Bluetooth LE raw port bound to the setting service.
class OrvoBluetoothLESettingDevicePort final : public BaseSettingDevicePort, public BaseSettingDevicePortProtocol {
public:
    using BaseSettingDevicePort::BaseSettingDevicePort;
};

class SettingDevicePortFactory {
public:
    // A Bluetooth LE raw port gives an OrvoBluetoothLESettingDevicePort; any other fails with the
    // unexpected-state error (unknown).
    static std::shared_ptr<SettingDevicePort> create(std::shared_ptr<RawPort> port);
};

}  // namespace Prelix10
