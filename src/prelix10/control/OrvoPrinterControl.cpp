#include "prelix10/control/OrvoPrinterControl.hpp"

#include "prelix10/protocol/WrittenBytesLog.hpp"

#include <chrono>
#include <thread>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/OrvoConfigReplyParsers.hpp"
#include "prelix10/protocol/PrinterStatusCommand.hpp"
#include "prelix10/protocol/SpoolCommand.hpp"
#include "prelix10/protocol/SpoolReplyParsers.hpp"
#include "prelix10/transport/OrvoAutomaticStatus.hpp"

namespace Prelix10 {

namespace {

struct Budget {
    explicit Budget(std::int64_t t) : timeout(t) { watch.start(); }
    std::int64_t elapsed() const { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }
    std::int64_t remaining() const { return timeout - elapsed(); }
    bool passed() const { return elapsed() >= timeout; }
    std::int64_t timeout;
    Stopwatch watch;
};

// The pause of one status poll runs its full length. Waking on arriving bytes would end it on the reply to
// the request this cycle has just written (or on any block a chatty board sends), and the printer would be
// asked for its status at network round-trip speed instead of once per pause.
void pause(std::chrono::milliseconds duration) { PollingSleep::sleepFor(duration); }

Prelix10Error deviceHasError(const std::shared_ptr<const OrvoPrinterStatus>& status) {
    return Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::deviceHasError,
                         Prelix10ErrorCode::deviceHasError, status);
}

}  // namespace

ByteBlock OrvoPrinterControl::beginPreamble() {
    return {0x1B, 0x2A, 0x72, 0x42, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00, 0x1B, 0x1E, 0x45, 0x00, 0x1B, 0x06, 0x01};
}

ByteBlock OrvoPrinterControl::endOfJobMarker() { return {0x17, 0x1B, 0x1D, 0x03, 0x04, 0x00, 0x00}; }

bool OrvoPrinterControl::isReadyForJob(const OrvoPrinterStatus& status) {
    const auto& d = *status.detailInternal();
    return d.etbCounter() == 0 && !d.paperPresent().value_or(false) && d.externalDevice12Ready().value_or(true) &&
           d.externalDevice34Ready().value_or(true);
}

void OrvoPrinterControl::beginCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "beginCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    std::shared_ptr<const OrvoPrinterStatus> last = port.getStatus(budget.remaining());
    if (last->hasError()) raiseError(log, deviceHasError(last));
    port.write(beginPreamble(), budget.remaining());
    try {
        for (;;) {
            last = port.getStatus(budget.remaining());
            if (last->hasError()) throw deviceHasError(last);
            // Ready wins over the deadline: a ready status read late still starts the job.
            if (isReadyForJob(*last)) break;
            port.write(PrinterStatusCommand::Orvo::automaticStatusRequest(), budget.remaining());
            if (budget.passed()) throw Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::initializeFailed);
            pause(std::chrono::milliseconds(100));
        }
    } catch (const Prelix10Error& failure) {
        if (!budget.passed()) raiseError(log, failure);
        const bool holdingPaper = last->detailInternal()->paperPresent().value_or(false);
        raiseError(log, holdingPaper ? Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::printerIsHoldingPaper,
                                                     Prelix10ErrorCode::printerHoldingPaper, last)
                                     : Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::initializeFailed,
                                                     Prelix10ErrorCode::none, last));
    }
    port.write(readyCommand(), budget.remaining());
}

void OrvoPrinterControl::endCheck(PrinterPort& port, std::int64_t timeout) {
    Log log(this, "endCheck(port:timeout:)", __LINE__);
    Budget budget(timeout);
    const Prelix10Error timedOut(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::printTimedOut,
                                 Prelix10ErrorCode::printingTimeout);
    port.write(endOfJobMarker(), budget.remaining());
    for (;;) {
        std::shared_ptr<const OrvoPrinterStatus> status;
        try {
            status = port.getStatus(budget.remaining());
        } catch (const Prelix10Error& failure) {
            raiseError(log, budget.passed() ? timedOut : failure);
        }
        // What the status says comes before the deadline: a job reported printed is never "timed out".
        if (status->hasError()) raiseError(log, deviceHasError(status));
        if (status->detailInternal()->etbCounter() == 1) return;
        if (budget.passed()) raiseError(log, timedOut);
        pause(std::chrono::milliseconds(isSpoolPrintSupported() ? 200 : 100));
    }
}

void OrvoPrinterControl::disableAutomaticStatus(PrinterPort& port, std::int64_t timeout) {
    OrvoAutomaticStatus::disable(port, timeout);
}

}  // namespace Prelix10

namespace Prelix10 {

namespace {

constexpr std::int64_t kReadSize = 1024;

Prelix10Error argumentOutOfRange() {
    return Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
}

Prelix10Error badResponse(Prelix10ErrorKind kind = Prelix10ErrorKind::badResponse) {
    return Prelix10Error(kind, Prelix10ErrorMessage::badResponseFromDevice);
}

Prelix10Error unknownError() { return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError); }

}  // namespace

std::size_t OrvoPrinterControl::characterCount(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    std::unique_ptr<icu::BreakIterator> breaks(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !breaks) return static_cast<std::size_t>(unicode.countChar32());
    breaks->setText(unicode);
    std::size_t count = 0;
    for (std::int32_t position = breaks->next(); position != icu::BreakIterator::DONE; position = breaks->next()) ++count;
    return count;
}

void OrvoPrinterControl::exchange(const Log& log, CommandParser& parser, std::int64_t timeout) {
    Budget budget(timeout);
    // Whatever is left in the port is an earlier call's late answer, never this request's: taken as this one's
    // it would be plainly wrong data.
    port().clearReadBuffer();
    port().write(parser.requestCommands(), budget.remaining());
    ByteBlock reply;
    for (;;) {
        // Taken before the read: bytes that arrived before the printer closed the connection still count.
        const bool connected = port().isConnected();
        const ByteBlock piece = port().readOnce(kReadSize);
        reply.insert(reply.end(), piece.begin(), piece.end());
        const CommandParserResult result = parser.parse(reply);
        if (result.state == CommandParserState::complete) return;
        if (result.state == CommandParserState::invalid) raiseError(log, badResponse());
        // No reply can come over a dropped connection; waiting out the budget would only hide that.
        if (!connected) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed));
        }
        if (budget.passed()) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
        // The full pause each cycle: the request is written once, so nothing here is re-sent faster.
        PollingSleep::sleepFor(std::chrono::milliseconds(10));
    }
}

std::int64_t OrvoPrinterControl::printSpool(const ByteBlock& data, const OrvoSpoolJobSettings& orvoSpoolJobSettings,
                                            const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo,
                                            std::int64_t timeout) {
    Log log(this, "printSpool(data:orvoSpoolJobSettings:additionalInfo:timeout:)", __LINE__);
    checkAvailableSpoolPrint();
    ByteBlock request;
    try {
        request = SpoolCommand::Kestrin::printSpool(data, orvoSpoolJobSettings, additionalInfo);
    } catch (const Prelix10Error& error) {
        raiseError(log, error);
    }
    SpoolPrintParser parser(std::move(request));
    exchange(log, parser, timeout);
    if (!parser.isAccepted()) {
        switch (parser.errorNumber().value_or(-1)) {
            case 3:
                raiseError(log, Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::spoolerIsDisabled,
                                              Prelix10ErrorCode::spoolerIsDisabled));
            case 2:
                raiseError(log, Prelix10Error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::spoolerBufferIsNotEnough,
                                              Prelix10ErrorCode::spoolerBufferIsNotEnough));
            case 1: raiseError(log, badResponse(Prelix10ErrorKind::argument));
            default: raiseError(log, unknownError());
        }
    }
    if (!parser.jobId()) raiseError(log, badResponse());
    return *parser.jobId();
}

OrvoSpoolJobStatus OrvoPrinterControl::getSpoolJobStatus(std::int64_t jobId, std::int64_t timeout) {
    Log log(this, "getSpoolJobStatus(jobId:timeout:)", __LINE__);
    checkAvailableSpoolPrint();
    if (jobId < 0 || jobId > 65535) raiseError(log, argumentOutOfRange());
    SpoolJobStatusParser parser(SpoolCommand::Kestrin::getSpoolJobStatus(jobId));
    exchange(log, parser, timeout);
    if (!parser.isSpoolerEnabled()) {
        raiseError(log, Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::spoolerIsDisabled,
                                      Prelix10ErrorCode::spoolerIsDisabled));
    }
    if (!parser.jobExists()) {
        raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::jobIdNotExist,
                                      Prelix10ErrorCode::spoolerJobIdNotExists));
    }
    if (!parser.orvoSpoolJobStatus()) raiseError(log, badResponse());
    // A late answer to an earlier request for another job is no answer to this one.
    if (parser.orvoSpoolJobStatus()->jobId() != jobId) raiseError(log, badResponse());
    return *parser.orvoSpoolJobStatus();
}

std::vector<OrvoSpoolJobStatus> OrvoPrinterControl::getSpoolJobStatusList(std::int64_t size, std::int64_t timeout) {
    Log log(this, "getSpoolJobStatusList(size:timeout:)", __LINE__);
    checkAvailableSpoolPrint();
    if (size < 0 || size > 2000) raiseError(log, argumentOutOfRange());
    SpoolJobStatusListParser parser(SpoolCommand::Kestrin::getSpoolJobStatusList(size));
    exchange(log, parser, timeout);
    if (!parser.isSpoolerEnabled()) {
        raiseError(log, Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::spoolerIsDisabled,
                                      Prelix10ErrorCode::spoolerIsDisabled));
    }
    return parser.orvoSpoolJobStatusList();
}

OrvoConfigurationSetResult OrvoPrinterControl::setOrvoConfig(const std::string& orvoConfig, std::int64_t timeout) {
    Log log(this, "setOrvoConfig(orvoConfig:timeout:)", __LINE__);
    checkAvailableOrvoConfig();
    ByteBlock request;
    try {
        request = OrvoConfigCommand::Orvo::createSetCommand(orvoConfig);
    } catch (const Prelix10Error& error) {
        raiseError(log, error);
    }
    SetOrvoConfigParser parser(std::move(request));
    exchange(log, parser, timeout);
    if (parser.isSuccess()) {
        if (parser.detail() == 0) return OrvoConfigurationSetResult::applied;
        if (parser.detail() == 1) return OrvoConfigurationSetResult::accepted;
        raiseError(log, unknownError());
    }
    switch (parser.detail()) {
        case 5:
            raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::orvoConfigFormatError,
                                          Prelix10ErrorCode::orvoConfigurationFormatError));
        case 6:
            raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::jsonFormatError,
                                          Prelix10ErrorCode::jsonFormatError));
        case 7:
            raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::orvoConfigParameterError,
                                          Prelix10ErrorCode::orvoConfigurationParameterError));
        case 8:
            raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::orvoConfigSpecifiedFileError,
                                          Prelix10ErrorCode::orvoConfigurationSpecifiedFileError));
        case 10:
            raiseError(log, Prelix10Error(Prelix10ErrorKind::authentication, Prelix10ErrorMessage::invalidPassword,
                                          Prelix10ErrorCode::invalidPassword));
        case 11:
            raiseError(log, Prelix10Error(Prelix10ErrorKind::authentication, Prelix10ErrorMessage::needToChangePassword,
                                          Prelix10ErrorCode::needToChangePassword));
        default: raiseError(log, unknownError());
    }
}

std::string OrvoPrinterControl::getOrvoConfig(OrvoConfigArea area, const std::optional<std::string>& password,
                                              std::int64_t timeout) {
    Log log(this, "getOrvoConfig(area:password:timeout:)", __LINE__);
    checkAvailableOrvoConfig();
    if (password && characterCount(*password) >= 32) raiseError(log, argumentOutOfRange());
    // A password the log could not recognise would be logged in hex: no real one is this long.
    if (password && password->size() > WrittenBytesLog::kLongestSecret) raiseError(log, argumentOutOfRange());
    GetOrvoConfigParser parser(OrvoConfigCommand::Orvo::createGetCommand(area, password), area);
    exchange(log, parser, timeout);
    return parser.orvoConfig();
}

}  // namespace Prelix10
