#include "prelix10/transport/PortUtil.hpp"

#include <chrono>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"
#include "prelix10/transport/NetworkPort.hpp"

namespace Prelix10 {

namespace {

constexpr std::int64_t kPeekSize = 65535;
const char* const kMethod = "retrieveInformationImpl(port:parser:timeout:isWrite:)";

template <typename Port>
void exchange(Port& port, CommandParser& parser, std::int64_t timeout, bool isWrite) {
    Log log(static_cast<const void*>(&port), "PortUtil", kMethod, __LINE__);
    Stopwatch watch;
    watch.start();
    auto elapsed = [&] { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); };
    if (isWrite) port.write(parser.requestCommands(), timeout - elapsed());
    for (;;) {
        const bool connected = port.isConnected();
        const ByteBlock peeked = port.readOnceUnconsumed(kPeekSize);
        if (!peeked.empty()) {
            const CommandParserResult result = parser.parse(peeked);
            if (result.state == CommandParserState::complete) {
                // The parser's range comes from device bytes: it must lie inside what was handed in.
                const auto count = static_cast<std::int64_t>(peeked.size());
                if (result.lowerIndex < 0 || result.upperIndex < result.lowerIndex || result.upperIndex >= count) {
                    raiseError(log, Prelix10Error(Prelix10ErrorKind::badResponse,
                                                  Prelix10ErrorMessage::badResponseFromDevice));
                }
                port.readOnce(ByteRange{result.lowerIndex, result.upperIndex});
                return;
            }
            if (result.state == CommandParserState::invalid) {
                // The rejected bytes go with the error. Left in the buffer they would stay in front of every
                // later reply, and a parser that reads from the start of the buffer would reject each of those
                // too: one bad reply would fail every later exchange on this port until it is closed.
                port.readOnce(static_cast<std::int64_t>(peeked.size()));
                raiseError(log,
                           Prelix10Error(Prelix10ErrorKind::badResponse, Prelix10ErrorMessage::badResponseFromDevice));
            }
        }
        // A reply that arrived before the device closed the connection is still used above.
        if (!connected) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed));
        }
        if (elapsed() >= timeout) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
        port.waitForIncomingBytes(std::chrono::milliseconds(10));
    }
}

}  // namespace

void PortUtil::retrieveInformationImpl(RawPort& port, CommandParser& parser, std::int64_t timeout, bool isWrite) {
    exchange(port, parser, timeout, isWrite);
}

void PortUtil::retrieveInformationImpl(PrinterPort& port, CommandParser& parser, std::int64_t timeout, bool isWrite) {
    exchange(port, parser, timeout, isWrite);
}

void PortUtil::retrieveOverStatusPort(const TCPPort& dataPort, CommandParser& parser, const Stopwatch& watch,
                                      std::int64_t timeout, const Log& log) {
    const auto elapsed = [&] { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); };
    const std::uint16_t statusPortNumber = NetworkPortSettings::ports().status;
    for (;;) {
        TCPPort statusPort(dataPort.identifier(), statusPortNumber);
        statusPort.setNicInformation(dataPort.nicInformation());
        try {
            statusPort.open(timeout - elapsed());
            retrieveInformationImpl(statusPort, parser, timeout - elapsed(), true);
            statusPort.close();
            return;
        } catch (const Prelix10Error& error) {
            statusPort.close();
            if (elapsed() >= timeout) raiseError(log, error);
        }
        PollingSleep::sleepFor(std::chrono::milliseconds(100));
    }
}

}  // namespace Prelix10
