#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/platform/Semaphore.hpp"
#include "prelix10/platform/TcpConnection.hpp"

using namespace Prelix10;
using namespace std::chrono_literals;

namespace {

// A loopback listener on an ephemeral port, closed by the destructor.
struct Listener {
    int fd = -1;
    std::uint16_t port = 0;
    Listener() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        ::listen(fd, 4);
        socklen_t len = sizeof(a);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~Listener() { ::close(fd); }
};

std::uint16_t closedPort() {
    Listener l;
    return l.port;  // closed again on return: nobody listens there
}

}  // namespace

TEST(SerialQueueTest, RunsItemsInOrderAndSurvivesThrowingItems) {
    std::vector<int> order;
    {
        SerialQueue queue("Prelix10.Test");
        for (int i = 0; i < 50; ++i) {
            queue.async([&order, i] {
                if (i == 10) throw std::runtime_error("ignored");
                order.push_back(i);
            });
        }
        queue.sync([] {});
    }
    ASSERT_EQ(order.size(), 49u);
    for (std::size_t i = 1; i < order.size(); ++i) EXPECT_LT(order[i - 1], order[i]);
}

TEST(SerialQueueTest, DestroyedInsideItsOwnItemDoesNotDeadlock) {
    Semaphore done;
    auto* queue = new SerialQueue("Prelix10.Test");
    queue->async([queue, &done] {
        delete queue;
        done.signal();
    });
    EXPECT_TRUE(done.waitFor(2000ms));
}

TEST(GlobalQueueTest, BlockingItemsDoNotStarveLaterOnes) {
    // Shared, so that no item can touch a semaphore after the test has returned.
    auto release = std::make_shared<Semaphore>();
    auto ran = std::make_shared<Semaphore>();
    auto done = std::make_shared<DispatchGroup>();
    for (int i = 0; i < 8; ++i) {
        done->enter();
        GlobalQueue::async([release, done] {
            release->wait();
            done->leave();
        });
    }
    GlobalQueue::async([ran] { ran->signal(); });
    EXPECT_TRUE(ran->waitFor(2000ms));
    for (int i = 0; i < 8; ++i) release->signal();
    EXPECT_TRUE(done->waitFor(2000ms));
}

TEST(SemaphoreTest, TimedWaitAndGroup) {
    Semaphore s;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(s.waitFor(50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
    s.signal();
    EXPECT_TRUE(s.waitFor(0ms));

    auto group = std::make_shared<DispatchGroup>();
    auto count = std::make_shared<std::atomic<int>>(0);
    for (int i = 0; i < 4; ++i) {
        group->enter();
        GlobalQueue::async([group, count] {
            ++*count;
            group->leave();
        });
    }
    EXPECT_TRUE(group->waitFor(2000ms));
    EXPECT_EQ(count->load(), 4);
}

TEST(TcpConnectionTest, RefusedConnectReportsTheErrno) {
    TcpConnection connection;
    EXPECT_EQ(connection.connect("127.0.0.1", closedPort(), 1000ms), ECONNREFUSED);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(connection.connect("not-an-address", 9100, 100ms), EINVAL);
}

TEST(TcpConnectionTest, PeerCloseIsReportedAndSendNeverRaisesSigpipe) {
    Listener listener;
    TcpConnection connection;
    ASSERT_EQ(connection.connect("127.0.0.1", listener.port, 1000ms), 0);
    int peer = ::accept(listener.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);

    std::vector<std::uint8_t> received;
    std::mutex mutex;
    Semaphore ended;
    std::atomic<SocketStreamEnd> how{SocketStreamEnd::failed};
    connection.startReceiving(
        [&](std::span<const std::uint8_t> bytes) {
            std::lock_guard lock(mutex);
            received.insert(received.end(), bytes.begin(), bytes.end());
        },
        [&](SocketStreamEnd end, int) {
            how = end;
            ended.signal();
        });
    const std::uint8_t reply[] = {0x23, 0x00, 0x00};
    ASSERT_EQ(::send(peer, reply, sizeof(reply), 0), 3);
    ::close(peer);
    ASSERT_TRUE(ended.waitFor(2000ms));
    EXPECT_EQ(how.load(), SocketStreamEnd::closedByPeer);
    EXPECT_TRUE(connection.hasEnded());
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(received.size(), 3u);
    }
    // Writing into a closed stream gives an error, not a signal that kills the process.
    std::vector<std::uint8_t> data(64 * 1024, 0x41);
    SocketSendResult result;
    for (int i = 0; i < 20 && result.error == 0; ++i) result = connection.send(data, 200ms);
    EXPECT_NE(result.error, 0);
    connection.cancel();
    EXPECT_FALSE(connection.isOpen());
}

TEST(TcpConnectionTest, SendTimesOutWhenThePeerStopsReading) {
    Listener listener;
    TcpConnection connection;
    ASSERT_EQ(connection.connect("127.0.0.1", listener.port, 1000ms), 0);
    int peer = ::accept(listener.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    std::vector<std::uint8_t> data(32 * 1024 * 1024, 0x41);
    const auto start = std::chrono::steady_clock::now();
    SocketSendResult result = connection.send(data, 300ms);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.error, ETIMEDOUT);
    EXPECT_LT(result.sent, data.size());
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 2000ms);
    ::close(peer);
}

TEST(UdpConnectionTest, ExchangesDatagramsOnLoopback) {
    UdpConnection a, b;
    ASSERT_EQ(a.open("127.0.0.1", 0, "127.0.0.1", 9), 0);  // remote fixed below by reopening
    const std::uint16_t aPort = a.localPort();
    ASSERT_EQ(b.open("127.0.0.1", 0, "127.0.0.1", aPort), 0);
    a.cancel();
    ASSERT_EQ(a.open("127.0.0.1", aPort, "127.0.0.1", b.localPort()), 0);
    Semaphore got;
    std::vector<std::uint8_t> datagram;
    a.startReceiving([&](std::span<const std::uint8_t> bytes) {
        datagram.assign(bytes.begin(), bytes.end());
        got.signal();
    });
    const std::vector<std::uint8_t> hello{0x01, 0x02, 0x03};
    EXPECT_EQ(b.send(hello, 100ms).error, 0);
    ASSERT_TRUE(got.waitFor(2000ms));
    EXPECT_EQ(datagram, hello);
}
