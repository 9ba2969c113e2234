#include "prelix10/transport/OrvoLANPrinterPort.hpp"

#include <chrono>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/protocol/PrinterStatusCommand.hpp"
#include "prelix10/transport/OrvoAutomaticStatus.hpp"
#include "prelix10/transport/PortUtil.hpp"

namespace Prelix10 {

// A status block the scan waits for must fit the buffers it is collected in; a longer one counts as no block.
static_assert(BaseOrvoASBPrinterStatusParser::kLargestFrame <= static_cast<std::size_t>(OrvoLANPrinterPort::kCacheCapacity));
static_assert(BaseOrvoASBPrinterStatusParser::kLargestFrame <= static_cast<std::size_t>(NetworkPort::kResponseCacheSize));

namespace {
std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }
}  // namespace

OrvoLANPrinterPort::OrvoLANPrinterPort(std::shared_ptr<TCPPort> tcpPort, bool isGetStatusViaTcp9100)
    : BasePrinterPort(tcpPort), tcpPort_(std::move(tcpPort)), isGetStatusViaTcp9100_(isGetStatusViaTcp9100) {
    const auto record = tcpPort_->nicInformation();
    isAutomaticStatus_ = record && record->name && record->name->find(kAutomaticStatusBoardName) != std::string::npos;
}

std::shared_ptr<const OrvoPrinterStatus> OrvoLANPrinterPort::automaticStatus() const {
    std::lock_guard lock(statusMutex_);
    return automaticStatus_;
}

void OrvoLANPrinterPort::internalInitialize(std::int64_t timeout) {
    if (!isAutomaticStatus_) {
        OrvoAutomaticStatus::disable(*this, timeout);
        return;
    }
    Stopwatch watch;
    watch.start();
    OrvoASBPrinterStatusNonStrictParser parser(emulation());
    try {
        PortUtil::retrieveInformationImpl(rawPort(), parser, timeout - elapsedWhole(watch), false);
    } catch (const Prelix10Error&) {
        raiseError(Log(this, "initialize(timeout:)", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::inUse, Prelix10ErrorMessage::theDeviceIsInUseByAnotherHost));
    }
    std::lock_guard lock(statusMutex_);
    automaticStatus_ = parser.status();
}

std::shared_ptr<const OrvoPrinterStatus> OrvoLANPrinterPort::internalGetStatus(std::int64_t timeout) {
    Log log(this, "getStatus(timeout:)", __LINE__);
    if (isAutomaticStatus_) {
        // A dropped connection must not keep answering with the last status it received.
        if (!rawPort().isConnected()) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::notOpened));
        }
        storeReadBuffer();
        auto status = automaticStatus();
        if (!status) raiseUnexpectedState(log, 62);
        return status;
    }
    if (!isGetStatusViaTcp9100_) return statusOverStatusPort(timeout);

    Stopwatch watch;
    watch.start();
    OrvoASBPrinterStatusNonStrictParser parser(emulation(), PrinterStatusCommand::Orvo::automaticStatusRequest());
    // Replies already received keep their extension data before the buffer is cleared for the status reply.
    storeReadBuffer();
    rawPort().clearReadBuffer();
    PortUtil::retrieveInformationImpl(rawPort(), parser, timeout - elapsedWhole(watch), true);
    if (!parser.status()) raiseUnexpectedState(log, 81);
    return parser.status();
}

std::shared_ptr<const OrvoPrinterStatus> OrvoLANPrinterPort::statusOverStatusPort(std::int64_t timeout) {
    Log log(this, "getStatus(timeout:)", __LINE__);
    Stopwatch watch;
    watch.start();
    OrvoASBPrinterStatusNonStrictParser parser(emulation(), PrinterStatusCommand::Port9101::statusRequest());
    PortUtil::retrieveOverStatusPort(*tcpPort_, parser, watch, timeout, log);
    if (!parser.status()) raiseUnexpectedState(log, 117);
    rawPort().write(PrinterStatusCommand::Port9101::endOfStatusExchange(), timeout - elapsedWhole(watch));
    return parser.status();
}

void OrvoLANPrinterPort::storeReadBuffer() {
    // Bounded drain: at most a full buffer's worth per call, so a flooding printer cannot hold the caller.
    for (int pass = 0; pass < 64; ++pass) {
        ByteBlock piece = rawPort().readOnce(1024);
        if (piece.empty()) break;
        allResponsesCache_.append(piece);
    }
    const ByteBlock buffer = allResponsesCache_.read(allResponsesCache_.unreadCount());
    OrvoASBPrinterStatusNonStrictParser parser(emulation());
    const ByteView all(buffer);
    std::size_t position = 0;  // candidate frame start; everything before it is taken or noise
    while (position < all.size()) {
        const CommandParserResult result = parser.parseFrame(all.subspan(position));
        if (result.state == CommandParserState::invalid) {
            ++position;  // a position that fails the frame test can never start a frame
            continue;
        }
        if (result.state == CommandParserState::needMoreData) break;
        {
            std::lock_guard lock(statusMutex_);
            automaticStatus_ = parser.status();
        }
        if (parser.extensionData() && !parser.extensionData()->empty()) extensionDataCache_.append(*parser.extensionData());
        position += static_cast<std::size_t>(result.upperIndex) + 1;
    }
    // Noise in front of the first possible frame start is dropped with the frames taken.
    const std::size_t drop = std::min(position, all.size());
    if (drop > 0) allResponsesCache_.remove(0, static_cast<int>(drop) - 1);
}

ByteBlock OrvoLANPrinterPort::internalReadOnce(std::int64_t size) {
    storeReadBuffer();
    return extensionDataCache_.take(static_cast<int>(std::clamp<std::int64_t>(size, 0, 65535)));
}

ByteBlock OrvoLANPrinterPort::internalReadOnce(ByteRange range) {
    storeReadBuffer();
    if (range.lower < 0 || range.upper < range.lower || range.upper >= extensionDataCache_.unreadCount()) return {};
    ByteBlock bytes = extensionDataCache_.read(static_cast<int>(range.lower), static_cast<int>(range.upper));
    extensionDataCache_.remove(static_cast<int>(range.lower), static_cast<int>(range.upper));
    return bytes;
}

ByteBlock OrvoLANPrinterPort::internalReadOnceUnconsumed(std::int64_t size) {
    storeReadBuffer();
    return extensionDataCache_.read(static_cast<int>(std::clamp<std::int64_t>(size, 0, 65535)));
}

void OrvoLANPrinterPort::internalClose() {
    allResponsesCache_.clear();
    extensionDataCache_.clear();
    rawPort().close();
}

}  // namespace Prelix10
