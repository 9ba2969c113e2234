#include "prelix10/transport/PrinterPortFactory.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/EscPosLANPrinterPort.hpp"
#include "prelix10/transport/EscPosMobileEAAccessoryPrinterPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/OrvoBluetoothLEPrinterPort.hpp"
#include "prelix10/transport/OrvoEAAccessoryPrinterPort.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"

namespace Prelix10 {

namespace {

// A pair outside the table is the caller's choice of emulation for an interface that does not carry it, so it
// gets the same clear error as an interface the raw-port factory refuses, not an unexpected state.
[[noreturn]] void unsupportedPair(int line) {
    raiseError(Log(nullptr, "PrinterPortFactory", "create(port:emulation:model:)", line),
               Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::notSupportedInterface));
}

bool isMakersEmulation(OrvoPrinterEmulation emulation) {
    const int e = static_cast<int>(emulation);
    return e >= 1 && e <= 4;
}

template <typename Port>
std::shared_ptr<PrinterPort> withEmulation(std::shared_ptr<Port> port, OrvoPrinterEmulation emulation) {
    port->setEmulation(emulation);
    return port;
}

}  // namespace

std::shared_ptr<PrinterPort> PrinterPortFactory::create(const std::shared_ptr<RawPort>& port,
                                                        OrvoPrinterEmulation emulation, bool isGetStatusViaTcp9100) {
    if (auto tcp = std::dynamic_pointer_cast<TCPPort>(port)) {
        if (emulation == OrvoPrinterEmulation::escPos) {
            return withEmulation(std::make_shared<EscPosLANPrinterPort>(tcp), emulation);
        }
        if (!isMakersEmulation(emulation)) unsupportedPair(13);
        return withEmulation(std::make_shared<OrvoLANPrinterPort>(tcp, isGetStatusViaTcp9100), emulation);
    }
    if (auto accessory = std::dynamic_pointer_cast<EAAccessoryPort>(port)) {
        if (emulation == OrvoPrinterEmulation::escPosMobile) {
            return withEmulation(std::make_shared<EscPosMobileEAAccessoryPrinterPort>(accessory), emulation);
        }
        if (!isMakersEmulation(emulation)) unsupportedPair(24);
        return withEmulation(std::make_shared<OrvoEAAccessoryPrinterPort>(accessory), emulation);
    }
    if (auto ble = std::dynamic_pointer_cast<BluetoothLEPort>(port)) {
        if (emulation != OrvoPrinterEmulation::kestrin) unsupportedPair(33);
        return withEmulation(std::make_shared<OrvoBluetoothLEPrinterPort>(ble), emulation);
    }
    unsupportedPair(38);
}

}  // namespace Prelix10
