#pragma once

#include <cstdint>
#include <memory>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

// One emulation's conventions over one raw port: initialisation, status reads, close, and the buffer
// through which received bytes are read.
class PrinterPort {
public:
    virtual ~PrinterPort() = default;

    virtual OrvoPrinterEmulation emulation() const = 0;
    virtual void setEmulation(OrvoPrinterEmulation emulation) = 0;
    virtual RawPort& rawPort() const = 0;
    virtual bool isConnected() const = 0;
    virtual void initialize(std::int64_t timeout) = 0;
    virtual std::shared_ptr<const OrvoPrinterStatus> getStatusWithCheckETBCounter(std::int64_t timeout) = 0;
    virtual std::shared_ptr<const OrvoPrinterStatus> getStatus(std::int64_t timeout) = 0;
    virtual void open(std::int64_t timeout) = 0;
    virtual void close() = 0;
    virtual ByteBlock readOnce(std::int64_t size) = 0;
    virtual ByteBlock readOnce(ByteRange range) = 0;
    virtual ByteBlock readOnceUnconsumed(std::int64_t size) = 0;
    virtual void clearReadBuffer() = 0;
    virtual ByteBlock readUntilSize(std::int64_t size, std::int64_t timeout) = 0;
    virtual void write(const ByteBlock& data, std::int64_t timeout) = 0;

    // The pause of a polling loop: up to maxWait, shorter when the printer sends bytes.
    virtual void waitForIncomingBytes(std::chrono::milliseconds maxWait);
};

// The hooks of a concrete printer port.
class BasePrinterPortProtocol {
public:
    virtual ~BasePrinterPortProtocol() = default;
    virtual void internalInitialize(std::int64_t timeout) = 0;
    virtual void internalClose() = 0;
    virtual std::shared_ptr<const OrvoPrinterStatus> internalGetStatusWithCheckETBCounter(std::int64_t timeout) = 0;
    virtual std::shared_ptr<const OrvoPrinterStatus> internalGetStatus(std::int64_t timeout) = 0;
    virtual ByteBlock internalReadOnce(std::int64_t size) = 0;
    virtual ByteBlock internalReadOnce(ByteRange range) = 0;
    virtual ByteBlock internalReadOnceUnconsumed(std::int64_t size) = 0;
};

// The printer port protocol once over the hooks. Owns its raw port.
class BasePrinterPort : public PrinterPort {
public:
    BasePrinterPort(std::shared_ptr<RawPort> rawPort, OrvoPrinterEmulation emulation = OrvoPrinterEmulation::unknown)
        : emulation_(emulation), rawPort_(std::move(rawPort)) {}

    OrvoPrinterEmulation emulation() const override { return emulation_; }
    void setEmulation(OrvoPrinterEmulation emulation) override { emulation_ = emulation; }
    RawPort& rawPort() const override { return *rawPort_; }
    const std::shared_ptr<RawPort>& sharedRawPort() const { return rawPort_; }
    bool isConnected() const override { return rawPort_->isConnected(); }

    void initialize(std::int64_t timeout) override;
    std::shared_ptr<const OrvoPrinterStatus> getStatusWithCheckETBCounter(std::int64_t timeout) override;
    std::shared_ptr<const OrvoPrinterStatus> getStatus(std::int64_t timeout) override;
    void open(std::int64_t timeout) override;
    void close() override;
    ByteBlock readOnce(std::int64_t size) override;
    ByteBlock readOnce(ByteRange range) override;
    ByteBlock readOnceUnconsumed(std::int64_t size) override;
    void clearReadBuffer() override { rawPort_->clearReadBuffer(); }
    ByteBlock readUntilSize(std::int64_t size, std::int64_t timeout) override;
    void write(const ByteBlock& data, std::int64_t timeout) override { rawPort_->write(data, timeout); }
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override { rawPort_->waitForIncomingBytes(maxWait); }

protected:
    BasePrinterPortProtocol& hooks(const char* method, int line);

    // The shared forwarding hooks of ports that read straight from the raw port.
    ByteBlock forwardReadOnce(std::int64_t size) { return rawPort_->readOnce(size); }
    ByteBlock forwardReadOnce(ByteRange range) { return rawPort_->readOnce(range); }
    ByteBlock forwardReadOnceUnconsumed(std::int64_t size) { return rawPort_->readOnceUnconsumed(size); }

private:
    OrvoPrinterEmulation emulation_;
    std::shared_ptr<RawPort> rawPort_;
};

}  // namespace Prelix10
