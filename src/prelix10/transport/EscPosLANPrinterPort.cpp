#include "prelix10/transport/EscPosLANPrinterPort.hpp"

#include <algorithm>
#include <chrono>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/PrinterStatusCommand.hpp"
#include "prelix10/protocol/StatusReplyParsers.hpp"
#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/transport/PortUtil.hpp"

namespace Prelix10 {

namespace {
std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }

// How many reads of the print connection one counter check takes at most: enough to get past a burst of
// noise without letting a flooding printer hold the caller.
constexpr int kReadPasses = 64;
constexpr std::int64_t kReadSize = 1024;
}  // namespace

EscPosLANPrinterPort::EscPosLANPrinterPort(std::shared_ptr<TCPPort> tcpPort)
    : BasePrinterPort(tcpPort), tcpPort_(std::move(tcpPort)) {}

void EscPosLANPrinterPort::internalInitialize(std::int64_t timeout) { rawPort().write(initializeCommand(), timeout); }

std::shared_ptr<const OrvoPrinterStatus> EscPosLANPrinterPort::internalGetStatus(std::int64_t timeout) {
    Log log(this, "getStatus(timeout:)", __LINE__);
    Stopwatch watch;
    watch.start();
    EscPosASBPrinterStatusNonStrictParser parser(PrinterStatusCommand::Port9101::statusRequest());
    PortUtil::retrieveOverStatusPort(*tcpPort_, parser, watch, timeout, log);
    if (!parser.status()) raiseUnexpectedState(log, 101);
    rawPort().write(PrinterStatusCommand::Port9101::endOfStatusExchange(), timeout - elapsedWhole(watch));
    return parser.status();
}

std::shared_ptr<const OrvoPrinterStatus> EscPosLANPrinterPort::internalGetStatusWithCheckETBCounter(std::int64_t timeout) {
    Log log(this, "getStatusWithCheckETBCounter(timeout:)", __LINE__);
    auto status = getStatus(timeout);
    for (int pass = 0; pass < kReadPasses; ++pass) {
        ByteBlock piece = rawPort().readOnce(kReadSize);
        if (piece.empty()) break;
        responseCache_.append(piece);
        if (piece.size() < static_cast<std::size_t>(kReadSize)) break;
    }
    const auto counter = takeETBCounter(responseCache_, log);
    if (!counter) return status;
    OrvoPrinterStatusDetailInternal::Builder detail(*status->detailInternal());
    detail.etbCounter = *counter;
    OrvoPrinterStatus::Builder builder(*status);
    builder.detailInternal = std::make_shared<const OrvoPrinterStatusDetailInternal>(detail);
    return std::make_shared<const OrvoPrinterStatus>(builder);
}

std::optional<std::int64_t> EscPosLANPrinterPort::takeETBCounter(GenericCache<std::uint8_t>& cache, const Log& log) {
    const ByteBlock received = cache.read(cache.unreadCount());
    OrvoOriginalETBCounterParser parser;
    const CommandParserResult result = parser.parse(ByteView(received));
    const auto size = static_cast<std::int64_t>(received.size());
    if (result.state != CommandParserState::complete) {
        // Only the tail can still grow into a reply; what comes before it is noise and goes now, so the
        // buffer stays small however much the printer sends.
        if (size > kLongestPartialReply) cache.remove(0, static_cast<int>(size - kLongestPartialReply) - 1);
        return std::nullopt;
    }
    if (result.lowerIndex < 0 || result.upperIndex < result.lowerIndex || result.upperIndex >= size) {
        raiseUnexpectedState(log, 45);
    }
    // The reply goes, and with it whatever came before it: those bytes held no reply, and with the reply's
    // bytes behind them they can never complete one.
    cache.remove(0, static_cast<int>(result.upperIndex));
    if (!parser.etbCounter()) raiseUnexpectedState(log, 45);
    return parser.etbCounter();
}

void EscPosLANPrinterPort::internalClose() {
    responseCache_.clear();
    rawPort().close();
}

}  // namespace Prelix10
