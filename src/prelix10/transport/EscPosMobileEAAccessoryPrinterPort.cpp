#include "prelix10/transport/EscPosMobileEAAccessoryPrinterPort.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/StatusReplyParsers.hpp"
#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/transport/PortUtil.hpp"

namespace Prelix10 {

std::shared_ptr<const OrvoPrinterStatus> EscPosMobileEAAccessoryPrinterPort::internalGetStatus(std::int64_t timeout) {
    Log log(this, "getStatus(timeout:)", __LINE__);
    Stopwatch watch;
    watch.start();
    EscPosMobilePrinterStatusParser parser;
    rawPort().clearReadBuffer();
    PortUtil::retrieveInformationImpl(rawPort(), parser, timeout - static_cast<std::int64_t>(watch.elapsedMilliseconds()),
                                      true);
    if (!parser.status()) raiseUnexpectedState(log, 25);
    return parser.status();
}

void EscPosMobileEAAccessoryPrinterPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) {
    PollingSleep::sleepFor(maxWait);
}

}  // namespace Prelix10
