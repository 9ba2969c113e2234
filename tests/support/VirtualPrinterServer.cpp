#include "support/VirtualPrinterServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <stdexcept>
#include <vector>

namespace Prelix10::Testing {

namespace {

bool sendAllBlocking(int fd, const Bytes& bytes, const std::atomic<bool>& stop) {
    std::size_t sent = 0;
    while (sent < bytes.size() && !stop.load()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 10);
            continue;
        }
        return false;
    }
    return sent == bytes.size();
}

Bytes floodBytes() {
    Bytes flood(64 * 1024);
    for (std::size_t i = 0; i < flood.size(); ++i) {
        // Bytes whose header test fails: (b & 0x91) != 0x01.
        static constexpr std::uint8_t kNoise[] = {0x00, 0xFE, 0x80, 0x10, 0x42, 0x3A, 0x20, 0x90};
        flood[i] = kNoise[i % sizeof(kNoise)];
    }
    return flood;
}

}  // namespace

VirtualPrinterServer::VirtualPrinterServer(VirtualPrinterEngine& engine, std::uint16_t dataPort, std::uint16_t statusPort)
    : engine_(engine) {
    data_.port = dataPort;
    status_.port = statusPort;
    openListener(data_);
    try {
        openListener(status_);
    } catch (...) {
        // The data listener's thread is running: it must be joined before the exception leaves.
        closeListener(data_);
        throw;
    }
    dataPort_ = data_.port;
    statusPort_ = status_.port;
}

VirtualPrinterServer::~VirtualPrinterServer() { stop(); }

void VirtualPrinterServer::openListener(Listener& listener) {
    auto failure = [&listener](const char* what, int error) {
        return std::runtime_error(std::string("cannot ") + what + " on 127.0.0.1 port " + std::to_string(listener.port) +
                                  " (" + (listener.channel == PrinterChannel::data ? "data" : "status") +
                                  "): " + std::strerror(error) + " (errno " + std::to_string(error) + ")");
    };
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw failure("open a socket", errno);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
    // A small receive buffer, inherited by accepted sockets, so that a printer that stops reading fills
    // the window quickly.
    int receiveBuffer = 16 * 1024;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof(receiveBuffer));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(listener.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) < 0 || ::listen(fd, 16) < 0) {
        const int error = errno;
        ::close(fd);
        throw failure("listen", error);
    }
    socklen_t len = sizeof(address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &len);
    listener.port = ntohs(address.sin_port);
    listener.fd.store(fd);
    listener.thread = std::thread([this, &listener] { acceptLoop(listener); });
}

void VirtualPrinterServer::closeListener(Listener& listener) {
    int fd = listener.fd.exchange(-1);
    if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
    if (listener.thread.joinable()) listener.thread.join();
    if (fd >= 0) ::close(fd);
}

void VirtualPrinterServer::acceptLoop(Listener& listener) {
    for (;;) {
        int lfd = listener.fd.load();
        if (lfd < 0 || stopping_.load()) return;
        pollfd p{lfd, POLLIN, 0};
        int r = ::poll(&p, 1, 20);
        if (r <= 0) continue;
        if (listener.fd.load() < 0) return;
        int fd = ::accept4(lfd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return;
        }
        listener.accepted.fetch_add(1);
        auto connection = std::make_shared<Connection>();
        connection->fd.store(fd);
        std::lock_guard lock(mutex_);
        if (stopping_.load()) {
            ::close(fd);
            return;
        }
        for (auto it = connections_.begin(); it != connections_.end();) {
            if ((*it)->done.load()) {
                if ((*it)->thread.joinable()) (*it)->thread.join();
                int old = (*it)->fd.exchange(-1);
                if (old >= 0) ::close(old);
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
        connections_.push_back(connection);
        connection->thread = std::thread([this, connection, channel = listener.channel] { serve(connection, channel); });
    }
}

void VirtualPrinterServer::serve(std::shared_ptr<Connection> connection, PrinterChannel channel) {
    const int fd = connection->fd.load();
    const ConnectionFaults faults = this->faults(channel);
    auto session = engine_.openSession(channel);
    auto finish = [&] {
        ::shutdown(fd, SHUT_RDWR);
        connection->done.store(true);
    };
    if (faults.acceptThenClose) {
        finish();
        return;
    }
    if (faults.floodOnConnect && !sendAllBlocking(fd, floodBytes(), connection->stop)) {
        finish();
        return;
    }
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::size_t received = 0;
    while (!connection->stop.load() && !stopping_.load()) {
        const ConnectionFaults now = this->faults(channel);
        const bool stalled = now.stallAfterBytes && received >= *now.stallAfterBytes;
        if (!now.silent) {
            Bytes unsolicited = session->poll();
            if (!unsolicited.empty() && !sendAllBlocking(fd, unsolicited, connection->stop)) break;
        }
        if (stalled) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        pollfd p{fd, POLLIN, 0};
        int r = ::poll(&p, 1, 5);
        if (r < 0 && errno != EINTR) break;
        if (r <= 0) continue;
        std::size_t want = buffer.size();
        if (now.slowReadDelay.count() > 0) want = std::max<std::size_t>(1, now.slowReadChunk);
        if (now.stallAfterBytes) want = std::min(want, *now.stallAfterBytes - received);
        if (now.closeAfterBytes) want = std::min(want, std::max<std::size_t>(1, *now.closeAfterBytes - received));
        ssize_t n = ::recv(fd, buffer.data(), want, MSG_DONTWAIT);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
            break;
        }
        received += static_cast<std::size_t>(n);
        Bytes reply = session->receive(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
        if (!now.silent && !reply.empty() && !sendAllBlocking(fd, reply, connection->stop)) break;
        if (now.closeAfterBytes && received >= *now.closeAfterBytes) break;
        if (now.slowReadDelay.count() > 0) std::this_thread::sleep_for(now.slowReadDelay);
    }
    finish();
}

void VirtualPrinterServer::setFaults(PrinterChannel channel, const ConnectionFaults& faults) {
    bool wasRefusing;
    {
        std::lock_guard lock(mutex_);
        ConnectionFaults& slot = channel == PrinterChannel::data ? dataFaults_ : statusFaults_;
        wasRefusing = slot.refuse;
        slot = faults;
    }
    Listener& listener = channel == PrinterChannel::data ? data_ : status_;
    if (faults.refuse && !wasRefusing) closeListener(listener);
    if (!faults.refuse && wasRefusing) openListener(listener);
}

ConnectionFaults VirtualPrinterServer::faults(PrinterChannel channel) {
    std::lock_guard lock(mutex_);
    return channel == PrinterChannel::data ? dataFaults_ : statusFaults_;
}

std::size_t VirtualPrinterServer::acceptedCount(PrinterChannel channel) {
    return (channel == PrinterChannel::data ? data_ : status_).accepted.load();
}

void VirtualPrinterServer::dropConnections() {
    std::list<std::shared_ptr<Connection>> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& c : connections) {
        c->stop.store(true);
        if (c->thread.joinable()) c->thread.join();
        int fd = c->fd.exchange(-1);
        if (fd >= 0) ::close(fd);
    }
}

void VirtualPrinterServer::stop() {
    if (stopping_.exchange(true)) return;
    closeListener(data_);
    closeListener(status_);
    dropConnections();
}

}  // namespace Prelix10::Testing
