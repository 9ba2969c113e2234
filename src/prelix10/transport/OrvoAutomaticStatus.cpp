#include "prelix10/transport/OrvoAutomaticStatus.hpp"

#include <chrono>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"

namespace Prelix10 {

void OrvoAutomaticStatus::disable(PrinterPort& port, std::int64_t timeout) {
    Stopwatch overall;
    overall.start();
    auto elapsed = [&] { return static_cast<std::int64_t>(overall.elapsedMilliseconds()); };
    port.write({0x1B, 0x1E, 0x61, 0x00}, timeout - elapsed());
    Stopwatch quiet;
    quiet.start();
    ByteBlock last = port.readOnce(1024);
    for (;;) {
        if (!last.empty()) quiet.restart();
        if (quiet.elapsedMilliseconds() >= 50.0) return;
        if (elapsed() >= timeout) {
            raiseError(Log(static_cast<const void*>(&port), "OrvoPrinterControl", "disableAutomaticStatus(port:timeout:)",
                           __LINE__),
                       Prelix10Error(Prelix10ErrorKind::badResponse, Prelix10ErrorMessage::initializeFailed));
        }
        PollingSleep::sleepFor(std::chrono::milliseconds(10));
        last = port.readOnce(1024);
    }
}

}  // namespace Prelix10
