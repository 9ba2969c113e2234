#include "prelix10/transport/OrvoBluetoothLEPrinterPort.hpp"

#include "prelix10/transport/OrvoAutomaticStatus.hpp"
#include "prelix10/transport/OrvoStatusRequest.hpp"
#include "prelix10/transport/PollingSleep.hpp"

namespace Prelix10 {

void OrvoBluetoothLEPrinterPort::internalInitialize(std::int64_t timeout) { OrvoAutomaticStatus::disable(*this, timeout); }

std::shared_ptr<const OrvoPrinterStatus> OrvoBluetoothLEPrinterPort::internalGetStatus(std::int64_t timeout) {
    return OrvoStatusRequest::read(rawPort(), emulation(), timeout, this, "OrvoBluetoothLEPrinterPort");
}

void OrvoBluetoothLEPrinterPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) { PollingSleep::sleepFor(maxWait); }

}  // namespace Prelix10
