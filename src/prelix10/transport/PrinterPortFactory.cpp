#include "prelix10/transport/PrinterPortFactory.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"

namespace Prelix10 {

std::shared_ptr<PrinterPort> PrinterPortFactory::create(const std::shared_ptr<RawPort>& port,
                                                        OrvoPrinterEmulation emulation, bool isGetStatusViaTcp9100) {
    const int e = static_cast<int>(emulation);
    if (auto tcp = std::dynamic_pointer_cast<TCPPort>(port); tcp && e >= 1 && e <= 4) {
        auto printerPort = std::make_shared<OrvoLANPrinterPort>(tcp, isGetStatusViaTcp9100);
        printerPort->setEmulation(emulation);
        return printerPort;
    }
    raiseUnexpectedState(Log(nullptr, "PrinterPortFactory", "create(port:emulation:model:)", __LINE__), __LINE__);
}

}  // namespace Prelix10
