#pragma once

// A dbus-daemon of the test's own: its configuration and its Unix socket lie in a fresh temporary folder, and
// it allows everything on that socket only. The machine's system and session buses are never touched.

#include <sys/types.h>

#include <string>

namespace Prelix10::Testing {

class PrivateDBusDaemon {
public:
    // Whether dbus-daemon can be run here at all.
    static bool available();

    PrivateDBusDaemon();
    ~PrivateDBusDaemon();
    PrivateDBusDaemon(const PrivateDBusDaemon&) = delete;
    PrivateDBusDaemon& operator=(const PrivateDBusDaemon&) = delete;

    // The bus address, empty when the daemon did not start.
    const std::string& address() const { return address_; }

private:
    std::string folder_;
    std::string address_;
    pid_t pid_ = -1;
};

}  // namespace Prelix10::Testing
