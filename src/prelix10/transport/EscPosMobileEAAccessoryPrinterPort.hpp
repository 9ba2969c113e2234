#pragma once

#include <chrono>
#include <memory>

#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// The printer port of the mobile ESC/POS emulation over an accessory connection. Initialising does nothing;
// a status read is one DLE EOT 4 request on the same connection. Reads go to the raw port.
class EscPosMobileEAAccessoryPrinterPort final : public BasePrinterPort, public BasePrinterPortProtocol {
public:
    explicit EscPosMobileEAAccessoryPrinterPort(std::shared_ptr<EAAccessoryPort> rawPort)
        : BasePrinterPort(std::move(rawPort)) {}

    void internalInitialize(std::int64_t) override {}
    void internalClose() override { rawPort().close(); }
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatusWithCheckETBCounter(std::int64_t timeout) override {
        return internalGetStatus(timeout);
    }
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatus(std::int64_t timeout) override;
    ByteBlock internalReadOnce(std::int64_t size) override { return forwardReadOnce(size); }
    ByteBlock internalReadOnce(ByteRange range) override { return forwardReadOnce(range); }
    ByteBlock internalReadOnceUnconsumed(std::int64_t size) override { return forwardReadOnceUnconsumed(size); }

    // Pauses of a caller's polling loop run their full length (the connection carries the caller's replies).
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override;
};

}  // namespace Prelix10
