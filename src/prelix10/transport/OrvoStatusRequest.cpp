#include "prelix10/transport/OrvoStatusRequest.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/protocol/PrinterStatusCommand.hpp"
#include "prelix10/transport/PortUtil.hpp"

namespace Prelix10 {

std::shared_ptr<const OrvoPrinterStatus> OrvoStatusRequest::read(RawPort& rawPort, OrvoPrinterEmulation emulation,
                                                                 std::int64_t timeout, const void* sender,
                                                                 const std::string& senderType) {
    Stopwatch watch;
    watch.start();
    OrvoASBPrinterStatusNonStrictParser parser(emulation, PrinterStatusCommand::Orvo::automaticStatusRequest());
    // A status still waiting in the buffer would answer this request with the printer's past.
    rawPort.clearReadBuffer();
    PortUtil::retrieveInformationImpl(rawPort, parser, timeout - static_cast<std::int64_t>(watch.elapsedMilliseconds()),
                                      true);
    if (!parser.status()) raiseUnexpectedState(Log(sender, senderType, "getStatus(timeout:)", __LINE__), 28);
    return parser.status();
}

}  // namespace Prelix10
