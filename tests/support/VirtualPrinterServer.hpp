#pragma once

// The TCP front end of the virtual printer: a data port and a status port on 127.0.0.1 (0 picks an
// ephemeral port, reported by dataPort()/statusPort()), one thread per accepted connection, and the
// connection-level fault knobs.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

struct ConnectionFaults {
    bool refuse = false;                       // no listener: connects are refused
    bool acceptThenClose = false;              // accept, then close at once
    bool silent = false;                       // accept and read, never answer
    std::optional<std::size_t> stallAfterBytes;  // stop reading after this many bytes (the window fills)
    std::optional<std::size_t> closeAfterBytes;  // drop the connection after this many bytes
    bool floodOnConnect = false;               // send 64 KiB of bytes that are no status block, once
    std::chrono::milliseconds slowReadDelay{0};  // pause between reads of at most slowReadChunk bytes
    std::size_t slowReadChunk = 1024;
};

// Fault knobs made by a change of the defaults: makeFaults([](auto& f) { f.refuse = true; }).
template <typename Change>
ConnectionFaults makeFaults(Change change) {
    ConnectionFaults faults;
    change(faults);
    return faults;
}

class VirtualPrinterServer {
public:
    explicit VirtualPrinterServer(VirtualPrinterEngine& engine, std::uint16_t dataPort = 0, std::uint16_t statusPort = 0);
    ~VirtualPrinterServer();
    VirtualPrinterServer(const VirtualPrinterServer&) = delete;
    VirtualPrinterServer& operator=(const VirtualPrinterServer&) = delete;

    std::uint16_t dataPort() const { return dataPort_; }
    std::uint16_t statusPort() const { return statusPort_; }

    // Fault knobs per channel; refuse takes effect at once (the listener closes or reopens on the same port).
    void setFaults(PrinterChannel channel, const ConnectionFaults& faults);
    ConnectionFaults faults(PrinterChannel channel);

    // Connections accepted so far per channel.
    std::size_t acceptedCount(PrinterChannel channel);
    // Closes every open connection (the printer drops its links).
    void dropConnections();
    void stop();

private:
    struct Listener {
        explicit Listener(PrinterChannel c) : channel(c) {}
        PrinterChannel channel;
        std::uint16_t port = 0;
        std::atomic<int> fd{-1};
        std::thread thread;
        std::atomic<std::size_t> accepted{0};
    };
    struct Connection {
        std::atomic<int> fd{-1};
        std::atomic<bool> stop{false};
        std::atomic<bool> done{false};
        std::thread thread;
    };

    void openListener(Listener& listener);
    void closeListener(Listener& listener);
    void acceptLoop(Listener& listener);
    void serve(std::shared_ptr<Connection> connection, PrinterChannel channel);

    VirtualPrinterEngine& engine_;
    Listener data_{PrinterChannel::data};
    Listener status_{PrinterChannel::status};
    std::uint16_t dataPort_ = 0;
    std::uint16_t statusPort_ = 0;
    std::mutex mutex_;
    ConnectionFaults dataFaults_;
    ConnectionFaults statusFaults_;
    std::list<std::shared_ptr<Connection>> connections_;
    std::atomic<bool> stopping_{false};
};

}  // namespace Prelix10::Testing
