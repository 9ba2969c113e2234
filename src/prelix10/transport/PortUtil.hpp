#pragma once

#include <cstdint>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/transport/PrinterPort.hpp"
#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

class Log;
class Stopwatch;
class TCPPort;

// One request and reply exchange: optionally write the parser's request, then watch the port's receive
// buffer until the parser recognises a reply, and take exactly that frame out of the buffer. The decoded
// reply stays in the parser. A reply the parser rejects is taken out with the error, so that it cannot stand
// in front of the device's later replies.
class PortUtil {
public:
    static void retrieveInformationImpl(RawPort& port, CommandParser& parser, std::int64_t timeout, bool isWrite);
    static void retrieveInformationImpl(PrinterPort& port, CommandParser& parser, std::int64_t timeout, bool isWrite);
    // The same exchange over a fresh connection to the LAN printer's status port, opened again every tenth
    // of a second while it fails, until the budget the stopwatch counts is spent; then the last error.
    static void retrieveOverStatusPort(const TCPPort& dataPort, CommandParser& parser, const Stopwatch& watch,
                                       std::int64_t timeout, const Log& log);
};

}  // namespace Prelix10
