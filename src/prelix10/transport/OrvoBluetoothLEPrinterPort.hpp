#pragma once

#include <chrono>
#include <memory>

#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// The printer port of the maker's emulations over Bluetooth LE (the Kestrin emulation only). Initialising switches the printer's
// automatic status off; a status read asks for one status block on the same connection. Reads go to the
// raw port.
class OrvoBluetoothLEPrinterPort final : public BasePrinterPort, public BasePrinterPortProtocol {
public:
    explicit OrvoBluetoothLEPrinterPort(std::shared_ptr<BluetoothLEPort> rawPort) : BasePrinterPort(std::move(rawPort)) {}

    void internalInitialize(std::int64_t timeout) override;
    void internalClose() override { rawPort().close(); }
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatusWithCheckETBCounter(std::int64_t timeout) override {
        return internalGetStatus(timeout);
    }
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatus(std::int64_t timeout) override;
    ByteBlock internalReadOnce(std::int64_t size) override { return forwardReadOnce(size); }
    ByteBlock internalReadOnce(ByteRange range) override { return forwardReadOnce(range); }
    ByteBlock internalReadOnceUnconsumed(std::int64_t size) override { return forwardReadOnceUnconsumed(size); }

    // The pause of a caller's polling loop runs its full length: the connection carries the replies to the
    // caller's own requests, and waking on them would make the loop poll at the speed of the link.
    void waitForIncomingBytes(std::chrono::milliseconds maxWait) override;
};

}  // namespace Prelix10
