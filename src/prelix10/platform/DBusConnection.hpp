#pragma once

// One client connection to a D-Bus bus, with its own event thread. sd-bus objects are not thread-safe, so the
// bus is used on that thread only: work is posted to it, and match, reply and object handlers run on it. The
// bus address is always given, so that a caller (a test) can point it at a private daemon of its own.

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace Prelix10 {

class DBusConnection {
public:
    using Work = std::function<void(sd_bus*)>;
    using MessageHandler = std::function<void(sd_bus_message*)>;
    // Called on the event thread when the connection could not be made or was lost; the errno-style code.
    using ClosedHandler = std::function<void(int error)>;
    // Called on the event thread when the connection is made after it had failed or was lost; matches of the
    // old connection are gone, so the handler adds its own again.
    using ReopenedHandler = std::function<void(sd_bus* bus)>;

    // A connection that fails or is lost is tried again after a pause that starts here and doubles up to
    // the longest, so that a restarted bus is back within seconds and a missing one costs little.
    static constexpr std::chrono::milliseconds kFirstRetry{100};
    static constexpr std::chrono::milliseconds kLongestRetry{5000};

    // The machine's system bus: DBUS_SYSTEM_BUS_ADDRESS, else the standard socket.
    static std::string systemBusAddress();

    // Starts the event thread, which connects to the address ("unix:path=..."). Returns at once.
    explicit DBusConnection(std::string address, ClosedHandler closed = nullptr,
                            ReopenedHandler reopened = nullptr);
    // Stops the event thread and joins it; from the event thread itself it is let go and ends on its own.
    ~DBusConnection();
    DBusConnection(const DBusConnection&) = delete;
    DBusConnection& operator=(const DBusConnection&) = delete;

    // Runs the work on the event thread, in posting order; the bus is null when there is no connection.
    void post(Work work);
    void postAfter(std::chrono::milliseconds delay, Work work);
    bool isEventThread() const;

    // Event thread only. The handlers live as long as the connection; false when sd-bus refused the request.
    bool addMatch(const std::string& rule, MessageHandler handler);
    // Sends the call (taking no ownership of it); the reply, or the error sd-bus makes of a timeout, goes to
    // the handler. A connection lost first gives the handler a null reply; one closed by the destructor drops
    // it.
    bool callAsync(sd_bus_message* call, std::chrono::milliseconds timeout, MessageHandler reply);

    // The D-Bus error of a reply as name and message; empty name for a method return.
    static std::pair<std::string, std::string> errorOf(sd_bus_message* reply);

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared, const std::string& address,
                    const ClosedHandler& closed, const ReopenedHandler& reopened);
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace Prelix10
