#pragma once

// A dbus-daemon of the test's own: its configuration and its Unix socket lie in a fresh temporary folder, and
// it allows everything on that socket only, unicast signals from any sender included, as the system bus's
// default policy does. It can be restarted on the same socket. The machine's system and session buses are
// never touched.

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

    // The bus address, empty when the daemon did not start. Without the daemon's id, as the system bus's is
    // given, so that a client may connect again after a restart.
    const std::string& address() const { return address_; }

    // Stops the daemon, which drops every connection, and starts a new one on the same socket; true once
    // it listens.
    bool restart();

  private:
    void start();
    void stop();
    std::string folder_;
    std::string address_;
    pid_t pid_ = -1;
};

}  // namespace Prelix10::Testing
