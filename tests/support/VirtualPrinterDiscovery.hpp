#pragma once

// The LAN discovery front end of the virtual printer: a UDP responder on 127.0.0.1 that answers each
// discovery request with one reply per printer it stands for, laid out as a printer's network board lays
// out its reply (frame header, NIC, configuration, device and host sections).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

// What one printer tells about itself in its discovery reply.
struct DiscoveryIdentity {
    std::string responseVersion = "RS4.0.0";  // written into the frame's version field
    std::string boardName = "IFBD-VP1";
    std::string firmwareVersionMain = "1.0.0";
    Bytes macAddress = {0x00, 0x11, 0x62, 0xAA, 0xBB, 0xCC};
    Bytes ipAddress = {127, 0, 0, 1};
    Bytes subnetMask = {255, 0, 0, 0};
    std::string deviceManufacturer = "Orvo";
    std::string deviceCommandSet = "KESTRIN";
    std::optional<std::string> deviceModel = "Ginor65 (ORV-001)";
    std::optional<std::string> nameDetail = "Ginor65";
    std::string hostName = "virtual-printer";
    std::uint16_t usedPort = 9100;
    std::string productSerialNumber = "VP0000001";
    std::string uniqueId = "vp-unique-1";
};

// The reply bytes of one printer.
Bytes encodeDiscoveryReply(const DiscoveryIdentity& identity);

class VirtualPrinterDiscovery {
public:
    // Listens on 127.0.0.1:port (0 picks an ephemeral port).
    explicit VirtualPrinterDiscovery(std::vector<DiscoveryIdentity> printers, std::uint16_t port = 0);
    ~VirtualPrinterDiscovery();
    VirtualPrinterDiscovery(const VirtualPrinterDiscovery&) = delete;
    VirtualPrinterDiscovery& operator=(const VirtualPrinterDiscovery&) = delete;

    std::uint16_t port() const { return port_; }
    // Requests received, and the request bytes of the last one.
    std::size_t requestCount() const { return requestCount_.load(); }
    Bytes lastRequest();
    // Extra datagrams sent before the replies (bad input for the client).
    void setPrefixDatagrams(std::vector<Bytes> datagrams);
    void setSilent(bool silent) { silent_.store(silent); }
    // Replies leave from another socket (another port) than the one the request came to: a host that got
    // no request answering on its own.
    void setAnswerFromOtherPort(bool other) { otherPort_.store(other); }
    void stop();

private:
    void run();

    int fd_ = -1;
    std::uint16_t port_ = 0;
    std::vector<DiscoveryIdentity> printers_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> silent_{false};
    std::atomic<bool> otherPort_{false};
    std::atomic<std::size_t> requestCount_{0};
    std::mutex mutex_;
    Bytes lastRequest_;
    std::vector<Bytes> prefix_;
    std::thread thread_;
};

// Sends one datagram from an ephemeral loopback port to 127.0.0.1:port.
void sendLoopbackDatagram(std::uint16_t port, const Bytes& bytes);

}  // namespace Prelix10::Testing
