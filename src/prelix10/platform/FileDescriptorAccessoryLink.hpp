#pragma once

// One accessory session over a file descriptor: a printer-class character device, a bound RFCOMM terminal,
// or an RFCOMM stream socket. The descriptor is non-blocking; one link thread polls it and reports bytes
// that arrived (POLLIN) and room to write (POLLOUT) as stream events, and a hang-up or error as the end of
// both streams. Reads and writes take what the descriptor takes now and never block. Closing both streams,
// or dropping the session, stops the thread and closes the descriptor; on a character device that is
// neither a socket nor a terminal it first waits (bounded) for the last write to leave the driver.

#include <memory>
#include <string>

#include "prelix10/platform/AccessoryManager.hpp"
#include "prelix10/platform/DescriptorCalls.hpp"

namespace Prelix10 {

class FileDescriptorAccessoryLink {
public:
    // Takes the descriptor (closed on every path). A terminal is switched to raw mode first. The calls are
    // made on the descriptor through calls (none: the system's own).
    static std::shared_ptr<AccessorySession> makeSession(int fd, std::shared_ptr<Accessory> accessory,
                                                         std::string protocolString,
                                                         std::shared_ptr<DescriptorCalls> calls = nullptr);

    // Ends a session from outside (the device went away): both streams report their end. Safe to call on a
    // session that already ended; a session that is not one of these is left alone.
    static void endSession(const std::shared_ptr<AccessorySession>& session);

    // Whether the session's streams are still open (for tests and for the manager's bookkeeping).
    static bool isOpen(const std::shared_ptr<AccessorySession>& session);
};

}  // namespace Prelix10
