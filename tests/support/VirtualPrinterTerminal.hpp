#pragma once

// The virtual printer at the far end of a character device: a pseudo-terminal whose slave path stands for
// the printer's device node, or one end of a socket pair that stands for an RFCOMM socket. The device side
// reads what the host writes, hands it to a data session of the engine, and writes the engine's answers and
// unsolicited output back, on its own thread. Fault knobs stop reading (the device never drains) or hang
// up (the device goes away).

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

class VirtualPrinterTerminal {
public:
    // A pseudo-terminal; hostPath() is the slave's path.
    static std::unique_ptr<VirtualPrinterTerminal> pseudoTerminal(std::shared_ptr<VirtualPrinterEngine> engine);
    // A socket pair; takeHostSocket() hands the host's end over (once).
    static std::unique_ptr<VirtualPrinterTerminal> socketPair(std::shared_ptr<VirtualPrinterEngine> engine);
    ~VirtualPrinterTerminal();
    VirtualPrinterTerminal(const VirtualPrinterTerminal&) = delete;
    VirtualPrinterTerminal& operator=(const VirtualPrinterTerminal&) = delete;

    const std::string& hostPath() const { return hostPath_; }
    int takeHostSocket();

    // After this many bytes in all, the device reads no more.
    void stopReadingAfter(std::size_t bytes) { readLimit_ = bytes; }
    // The device goes away: its end closes.
    void hangUp();
    std::size_t bytesReceived() const { return received_; }

private:
    VirtualPrinterTerminal(std::shared_ptr<VirtualPrinterEngine> engine, int deviceFd, int keepFd, std::string hostPath);
    void run();
    void writeAll(const Bytes& bytes);

    std::shared_ptr<VirtualPrinterEngine> engine_;
    std::unique_ptr<PrinterSession> session_;
    int deviceFd_;
    // The pseudo-terminal's slave held open by the device side, so that the master reads no error before
    // the host opens it; or the host's socket until it is taken.
    int keepFd_;
    std::string hostPath_;
    std::atomic<std::size_t> readLimit_{static_cast<std::size_t>(-1)};
    std::atomic<std::size_t> received_{0};
    std::atomic<bool> stop_{false};
    std::mutex fdMutex_;
    std::thread thread_;
};

}  // namespace Prelix10::Testing
