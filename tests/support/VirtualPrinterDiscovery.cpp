#include "support/VirtualPrinterDiscovery.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace Prelix10::Testing {

namespace {

void putText(Bytes& out, std::size_t at, std::size_t size, const std::string& text) {
    for (std::size_t i = 0; i < size && i < text.size(); ++i) out[at + i] = static_cast<std::uint8_t>(text[i]);
}
void putBytes(Bytes& out, std::size_t at, const Bytes& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) out[at + i] = bytes[i];
}
void putU16(Bytes& out, std::size_t at, std::size_t value) {
    out[at] = static_cast<std::uint8_t>(value >> 8);
    out[at + 1] = static_cast<std::uint8_t>(value);
}

}  // namespace

Bytes encodeDiscoveryReply(const DiscoveryIdentity& id) {
    constexpr std::size_t header = 34, nic = 82, config = 22, device = 162, host = 264;
    const std::size_t o = header, p = o + nic, d = p + config, h = d + device, total = h + host;
    Bytes out(total, 0);
    putText(out, 0, 16, "ORV_BCAST");
    putText(out, 16, 8, id.responseVersion);
    putU16(out, 24, total);
    putU16(out, 26, o);
    putU16(out, 28, p);
    putU16(out, 30, d);
    putU16(out, 32, h);
    // Network card.
    putU16(out, o, nic);
    putText(out, o + 2, 16, id.boardName);
    putText(out, o + 18, 8, id.firmwareVersionMain);
    putText(out, o + 26, 8, "1.0");
    putText(out, o + 34, 8, "A");
    putText(out, o + 42, 2, "4");
    putBytes(out, o + 44, id.macAddress);
    putBytes(out, o + 54, id.ipAddress);
    putText(out, o + 58, 16, "DHCP");
    putBytes(out, o + 74, id.subnetMask);
    putBytes(out, o + 78, {127, 0, 0, 254});
    // Configuration.
    putU16(out, p, config);
    putText(out, p + 2, 2, "0");
    putBytes(out, p + 4, id.ipAddress);
    putBytes(out, p + 8, id.subnetMask);
    putBytes(out, p + 12, {127, 0, 0, 254});
    putText(out, p + 16, 2, "0");
    putText(out, p + 18, 2, "1");
    putText(out, p + 20, 2, "0");
    // Device identification.
    putU16(out, d, device);
    putText(out, d + 2, 32, id.deviceManufacturer);
    putText(out, d + 34, 32, id.deviceCommandSet);
    if (id.deviceModel) putText(out, d + 66, 64, *id.deviceModel);
    putText(out, d + 130, 32, "PRINTER");
    // Host.
    putU16(out, h, host);
    putText(out, h + 2, 64, id.hostName);
    putU16(out, h + 66, id.usedPort);
    putBytes(out, h + 68, {127, 0, 0, 1});
    if (id.nameDetail) putText(out, h + 104, 64, *id.nameDetail);
    // A board that reports no device model or detailed name sends sections that end before the field.
    if (!id.deviceModel) putU16(out, d, 66);
    if (!id.nameDetail) putU16(out, h, 104);
    putText(out, h + 168, 32, id.productSerialNumber);
    putText(out, h + 200, 64, id.uniqueId);
    return out;
}

VirtualPrinterDiscovery::VirtualPrinterDiscovery(std::vector<DiscoveryIdentity> printers, std::uint16_t port)
    : printers_(std::move(printers)) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd_);
        throw std::runtime_error("bind");
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

VirtualPrinterDiscovery::~VirtualPrinterDiscovery() { stop(); }

void VirtualPrinterDiscovery::stop() {
    stopping_.store(true);
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

Bytes VirtualPrinterDiscovery::lastRequest() {
    std::lock_guard guard(mutex_);
    return lastRequest_;
}

void VirtualPrinterDiscovery::setPrefixDatagrams(std::vector<Bytes> datagrams) {
    std::lock_guard guard(mutex_);
    prefix_ = std::move(datagrams);
}

void VirtualPrinterDiscovery::run() {
    std::uint8_t buffer[2048];
    while (!stopping_.load()) {
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, 20) <= 0) continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 28 || std::memcmp(buffer, "ORV_BCAST", 9) != 0 || std::memcmp(buffer + 16, "RQ", 2) != 0) continue;
        requestCount_.fetch_add(1);
        std::vector<Bytes> prefix;
        {
            std::lock_guard guard(mutex_);
            lastRequest_.assign(buffer, buffer + n);
            prefix = prefix_;
        }
        if (silent_.load()) continue;
        int out = fd_;
        if (otherPort_.load()) {
            out = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            sockaddr_in any{};
            any.sin_family = AF_INET;
            any.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            ::bind(out, reinterpret_cast<sockaddr*>(&any), sizeof any);
        }
        for (const auto& datagram : prefix)
            ::sendto(out, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLen);
        for (const auto& printer : printers_) {
            const Bytes reply = encodeDiscoveryReply(printer);
            ::sendto(out, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLen);
        }
        if (out != fd_ && out >= 0) ::close(out);
    }
}

void sendLoopbackDatagram(std::uint16_t port, const Bytes& bytes) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
}

}  // namespace Prelix10::Testing
