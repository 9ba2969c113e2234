#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "LoopbackFixture.hpp"
#include "prelix10/transport/UDPBroadcastPort.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

// The directed broadcast address of the loopback network: datagrams to it stay on the loopback interface.
constexpr const char* kLoopbackBroadcast = "127.255.255.255";

// A plain UDP socket of the test, on the other side of the port.
class PlainSocket {
public:
    explicit PlainSocket(const char* address, std::uint16_t port = 0) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &local.sin_addr);
        bound_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof(local)) == 0;
    }
    ~PlainSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool bound() const { return bound_; }
    std::uint16_t port() const {
        sockaddr_in address{};
        socklen_t length = sizeof(address);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        return ntohs(address.sin_port);
    }
    void sendTo(const ByteBlock& bytes, std::uint16_t port) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
        ASSERT_EQ(::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof(to)),
                  static_cast<ssize_t>(bytes.size()));
    }
    struct Datagram {
        ByteBlock bytes;
        std::string sourceAddress;
        std::uint16_t sourcePort = 0;
    };
    // The next datagram within the wait, or none.
    std::optional<Datagram> receive(std::chrono::milliseconds wait) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) return std::nullopt;
        ByteBlock buffer(70000);
        sockaddr_in from{};
        socklen_t length = sizeof(from);
        const ssize_t n = ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0) return std::nullopt;
        buffer.resize(static_cast<std::size_t>(n));
        char text[INET_ADDRSTRLEN] = {0};
        ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
        return Datagram{buffer, text, ntohs(from.sin_port)};
    }

private:
    int fd_ = -1;
    bool bound_ = false;
};

ByteBlock counting(std::size_t size, std::uint8_t first = 0) {
    ByteBlock bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

class UDPBroadcastPortTest : public ::testing::Test {
protected:
    void SetUp() override { NetworkPortSettings::setAvailabilityCheck([] { return true; }); }
    void TearDown() override { NetworkPortSettings::setAvailabilityCheck(nullptr); }

    // A port on 127.0.0.1 that broadcasts to the loopback network at the given port.
    static std::unique_ptr<UDPBroadcastPort> loopbackPort(std::uint16_t remotePort) {
        return std::make_unique<UDPBroadcastPort>("127.0.0.1", 0, kLoopbackBroadcast, remotePort);
    }

    // Sends the datagrams to the port from a peer and waits (bounded) until they are there to be read.
    static void deliver(UDPBroadcastPort& port, PlainSocket& peer, const std::vector<ByteBlock>& datagrams) {
        for (const auto& d : datagrams) peer.sendTo(d, port.boundLocalPort());
        port.waitForIncomingBytes(2000ms);
    }
};

}  // namespace

TEST_F(UDPBroadcastPortTest, SendsOneDatagramToItsTargetOnly) {
    PlainSocket target(kLoopbackBroadcast);
    PlainSocket bystander("127.0.0.1");
    ASSERT_TRUE(target.bound() && bystander.bound());
    auto port = loopbackPort(target.port());
    EXPECT_EQ(port->interfaceType(), InterfaceType::lan);
    EXPECT_TRUE(port->identifiers().empty());
    EXPECT_FALSE(port->isSameDevice(*loopbackPort(target.port())));
    EXPECT_PRELIX10_ERROR(port->write({0x01}, 100), Prelix10ErrorKind::invalidOperation, "Not opened.");

    port->open(1000);
    ASSERT_TRUE(port->isConnected());
    const ByteBlock request = counting(28, 0x40);
    port->write(request, 1000);
    const auto got = target.receive(2000ms);
    ASSERT_TRUE(got);
    EXPECT_EQ(hex(got->bytes), hex(request));
    EXPECT_EQ(got->sourceAddress, "127.0.0.1");
    EXPECT_EQ(got->sourcePort, port->boundLocalPort());
    EXPECT_FALSE(target.receive(50ms));
    EXPECT_FALSE(bystander.receive(50ms));

    // A datagram larger than UDP allows is not sent at all.
    EXPECT_PRELIX10_ERROR(port->write(ByteBlock(70000, 0x55), 100), Prelix10ErrorKind::communication, "Write failed.");
    EXPECT_PRELIX10_ERROR(port->open(1000), Prelix10ErrorKind::invalidOperation, "Already Opened.");
    port->close();
    EXPECT_FALSE(port->isConnected());
    EXPECT_EQ(port->socketDescriptor(), -1);
}

TEST_F(UDPBroadcastPortTest, ReadsHandOutWholeDatagramsInArrivalOrder) {
    PlainSocket peer("127.0.0.1");
    auto port = loopbackPort(9);
    port->open(1000);
    deliver(*port, peer, {counting(3, 0x10), counting(5, 0x20), counting(7, 0x30)});
    EXPECT_EQ(hex(port->readOnceUnconsumed(1024)), "101112");
    EXPECT_EQ(hex(port->readOnceUnconsumed(2)), "1011");
    EXPECT_EQ(hex(port->readOnce(1024)), "101112");
    EXPECT_EQ(hex(port->readOnce(1024)), hex(counting(5, 0x20)));
    EXPECT_EQ(hex(port->readOnce(1024)), hex(counting(7, 0x30)));
    EXPECT_TRUE(port->readOnce(1024).empty());

    // A short read takes the whole datagram: the rest of it is gone.
    deliver(*port, peer, {counting(300), counting(2, 0xA0)});
    EXPECT_EQ(hex(port->readOnce(10)), hex(counting(10)));
    EXPECT_EQ(hex(port->readOnce(1024)), "A0A1");
    EXPECT_TRUE(port->readOnce(1024).empty());

    // A datagram longer than 1024 bytes is cut to its first 1024.
    deliver(*port, peer, {counting(1500)});
    EXPECT_EQ(port->readOnce(4096).size(), 1024u);

    // Draining takes every datagram; closing forgets those collected.
    deliver(*port, peer, {counting(4), counting(4), counting(4)});
    port->clearReadBuffer();
    EXPECT_TRUE(port->readOnceUnconsumed(1024).empty());
    deliver(*port, peer, {counting(4)});
    EXPECT_EQ(port->readOnceUnconsumed(1024).size(), 4u);
    port->close();
    EXPECT_TRUE(port->readOnce(1024).empty());
}

TEST_F(UDPBroadcastPortTest, RangeReadsStayInsideTheOldestDatagram) {
    PlainSocket peer("127.0.0.1");
    auto port = loopbackPort(9);
    port->open(1000);
    // No datagram: only the empty range is inside.
    EXPECT_TRUE(port->readOnce(ByteRange{0, -1}).empty());
    EXPECT_PRELIX10_ERROR(port->readOnce(ByteRange{0, 0}), Prelix10ErrorKind::argument,
                          "Specified argument value is out of specification.");

    deliver(*port, peer, {counting(10), counting(4, 0x50), counting(3, 0x60)});
    const ByteRange outside[] = {{0, 10}, {-1, 2}, {3, 1}, {11, 10}};
    for (const auto& range : outside) {
        SCOPED_TRACE(std::to_string(range.lower) + "..." + std::to_string(range.upper));
        EXPECT_PRELIX10_ERROR(port->readOnce(range), Prelix10ErrorKind::argument,
                              "Specified argument value is out of specification.");
    }
    // A refused range leaves the datagram where it was.
    EXPECT_EQ(port->readOnceUnconsumed(1024).size(), 10u);
    EXPECT_EQ(hex(port->readOnce(ByteRange{2, 4})), "020304");
    EXPECT_EQ(hex(port->readOnce(ByteRange{0, 3})), "50515253");
    EXPECT_TRUE(port->readOnce(ByteRange{3, 2}).empty());  // an empty range still takes the datagram
    EXPECT_TRUE(port->readOnce(1024).empty());

    for (const auto size : {std::int64_t{-1}, std::int64_t{-1000}}) {
        EXPECT_PRELIX10_ERROR(port->readOnce(size), Prelix10ErrorKind::argument,
                              "Specified argument value is out of specification.");
        EXPECT_PRELIX10_ERROR(port->readOnceUnconsumed(size), Prelix10ErrorKind::argument,
                              "Specified argument value is out of specification.");
    }
}

TEST_F(UDPBroadcastPortTest, OpenFailures) {
    NetworkPortSettings::setAvailabilityCheck([] { return false; });
    auto port = loopbackPort(9);
    try {
        port->open(1000);
        ADD_FAILURE() << "opened without a network";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(error.message(), "Network unavailable.");
        EXPECT_EQ(error.errorCode(), Prelix10ErrorCode::networkUnavailable);
    }
    EXPECT_EQ(port->socketDescriptor(), -1);
    NetworkPortSettings::setAvailabilityCheck([] { return true; });

    PlainSocket taken("127.0.0.1");
    UDPBroadcastPort busy("127.0.0.1", taken.port(), kLoopbackBroadcast, 9);
    EXPECT_PRELIX10_ERROR(busy.open(1000), Prelix10ErrorKind::unknown, "Unknown Error.");
    UDPBroadcastPort unparsable("not-an-address", 0, kLoopbackBroadcast, 9);
    EXPECT_PRELIX10_ERROR(unparsable.open(1000), Prelix10ErrorKind::unknown, "Unknown Error.");
    EXPECT_FALSE(busy.isConnected() || unparsable.isConnected());
}

TEST_F(UDPBroadcastPortTest, DescriptorZeroIsAnOpenSocket) {
    PlainSocket target(kLoopbackBroadcast);
    auto port = loopbackPort(target.port());
    // Frees descriptor 0 so that the port's socket gets it, and puts standard input back afterwards.
    struct StandardInputAside {
        int saved = ::dup(0);
        StandardInputAside() { ::close(0); }
        ~StandardInputAside() {
            ::dup2(saved, 0);
            ::close(saved);
        }
    } aside;
    ASSERT_GE(aside.saved, 0);
    port->open(1000);
    ASSERT_EQ(port->socketDescriptor(), 0);
    EXPECT_TRUE(port->isConnected());
    port->write({0x0D}, 1000);
    const auto got = target.receive(2000ms);
    ASSERT_TRUE(got);
    EXPECT_EQ(hex(got->bytes), "0D");
    port->close();
    // Closing released descriptor 0.
    EXPECT_EQ(::fcntl(0, F_GETFD), -1);
    EXPECT_FALSE(port->isConnected());
}

// A flood is held to the cache's byte limit: the oldest datagrams go, the newest are read.
TEST_F(UDPBroadcastPortTest, AFloodKeepsOnlyTheNewestDatagramsWithinTheByteLimit) {
    PlainSocket peer("127.0.0.1");
    auto port = loopbackPort(9);
    port->open(1000);
    constexpr int kRounds = 40;
    constexpr int kPerRound = 32;  // few enough for the socket's buffer, and within one read's share
    for (int round = 0; round < kRounds; ++round) {
        std::vector<ByteBlock> datagrams;
        for (int k = 0; k < kPerRound; ++k) {
            ByteBlock d(UDPBroadcastPort::kDatagramSize, 0x00);
            const int n = round * kPerRound + k;
            d[0] = static_cast<std::uint8_t>(n >> 8);
            d[1] = static_cast<std::uint8_t>(n & 0xFF);
            datagrams.push_back(std::move(d));
        }
        deliver(*port, peer, datagrams);
        ASSERT_FALSE(port->readOnceUnconsumed(2).empty());  // collects without taking any
    }
    const ByteBlock first = port->readOnce(2);
    ASSERT_EQ(first.size(), 2u);
    int held = 1;
    while (!port->readOnce(2).empty() && held <= kRounds * kPerRound) ++held;
    const int total = kRounds * kPerRound;
    const int newestFirst = total - UDPBroadcastPort::kMaxUnreadDatagrams;
    EXPECT_EQ(held, UDPBroadcastPort::kMaxUnreadDatagrams);
    EXPECT_EQ((first[0] << 8) | first[1], newestFirst);
    port->close();
}
