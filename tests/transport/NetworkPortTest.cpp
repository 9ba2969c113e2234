#include <gtest/gtest.h>

#include "LoopbackFixture.hpp"
#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/transport/PortUtil.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

using NetworkPortTest = LoopbackFixture;

TEST_F(NetworkPortTest, OpenWriteReadsClearAndCloseOverLoopback) {
    auto port = dataPort();
    EXPECT_LT(timed([&] { port->open(1000); }), 1000ms);
    EXPECT_TRUE(port->isConnected());
    EXPECT_EQ(port->actualIdentifier(), "127.0.0.1");
    EXPECT_PRELIX10_ERROR(port->open(1000), Prelix10ErrorKind::invalidOperation, "Already Opened.");

    // The printer answers ESC ACK SOH with one 16-byte status block.
    port->write(bytesFromHex("1B 06 01"), 1000);
    const std::string block = hex(encodeStatusBlock(PrinterState{}, 16, 3));
    ByteBlock all;
    EXPECT_LT(timed([&] { all = port->readOnceUnconsumed(100); while (all.size() < 16) { all = port->readOnceUnconsumed(100); std::this_thread::sleep_for(2ms); } }), 1000ms);
    EXPECT_EQ(hex(all), block);

    EXPECT_EQ(hex(port->readOnceUnconsumed(3)), block.substr(0, 6));
    EXPECT_EQ(hex(port->readOnceUnconsumed(3)), block.substr(0, 6));
    EXPECT_EQ(hex(port->readOnce(3)), block.substr(0, 6));
    // Offsets 2 to 4 of what is left are cut out; the bytes in front stay.
    EXPECT_EQ(hex(port->readOnce(ByteRange{2, 4})), block.substr(10, 6));
    EXPECT_EQ(hex(port->readOnce(2)), block.substr(6, 4));
    EXPECT_EQ(hex(port->readUntilSize(8, 100)), block.substr(16, 16));
    EXPECT_EQ(port->bufferedByteCount(), 0);

    port->write(bytesFromHex("1B 06 01"), 1000);
    ASSERT_TRUE(waitForBytes(*port, 16));
    port->clearReadBuffer();
    EXPECT_TRUE(port->readOnce(100).empty());

    port->write(bytesFromHex("1B 06 01"), 1000);
    ASSERT_TRUE(waitForBytes(*port, 16));
    port->close();
    EXPECT_FALSE(port->isConnected());
    EXPECT_EQ(port->bufferedByteCount(), 0);
    EXPECT_PRELIX10_ERROR(port->write({0x00}, 100), Prelix10ErrorKind::invalidOperation, "Not opened.");
    EXPECT_PRELIX10_ERROR(port->readUntilSize(1, 100), Prelix10ErrorKind::invalidOperation, "Not opened.");
    EXPECT_PRELIX10_ERROR(port->clearReadBuffer(), Prelix10ErrorKind::invalidOperation, "Not opened.");
    port->close();

    // A closed port opens again; the record is kept, so no lookup is needed.
    port->open(1000);
    EXPECT_TRUE(port->isConnected());
    EXPECT_EQ(engine->capture(PrinterChannel::data).size(), 9u);
}

TEST_F(NetworkPortTest, ReadUntilSizeTimesOutAfterItsBudgetAndKeepsWhatItRead) {
    auto port = dataPort();
    port->open(1000);
    port->write(bytesFromHex("1B 06 01"), 1000);
    ASSERT_TRUE(waitForBytes(*port, 16));
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(port->readUntilSize(20, 100), Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_GE(took, 100ms);
    EXPECT_LT(took, 600ms);
    EXPECT_EQ(port->bufferedByteCount(), 0);  // the 16 bytes read before the timeout are consumed
}

TEST_F(NetworkPortTest, RefusedConnectionFailsAsInUseAfterTheRefusalLimit) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.refuse = true; }));
    auto port = dataPort();
    auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(port->open(10000), Prelix10ErrorKind::inUse, "The device is in use by another host.");
    });
    EXPECT_GE(took, 1000ms);
    EXPECT_LT(took, 1800ms);
    took = timed([&] {
        EXPECT_PRELIX10_ERROR(port->open(300), Prelix10ErrorKind::inUse, "The device is in use by another host.");
    });
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 1000ms);
    EXPECT_FALSE(port->isConnected());

    // The printer is free again: the next open connects.
    server->setFaults(PrinterChannel::data, ConnectionFaults{});
    port->open(1000);
    EXPECT_TRUE(port->isConnected());
}

TEST_F(NetworkPortTest, SilentPeerEndsTheExchangeWithRequestTimedOut) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.silent = true; }));
    auto port = dataPort();
    port->open(1000);
    OrvoASBPrinterStatusNonStrictParser parser(OrvoPrinterEmulation::kestrin, bytesFromHex("1B 06 01"));
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(*port, parser, 300, true),
                              Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 800ms);
}

TEST_F(NetworkPortTest, PeerCloseIsNoticedAtOnce) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.acceptThenClose = true; }));
    auto port = dataPort();
    port->open(1000);  // the kernel completes the handshake before the printer drops the link
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (port->isConnected() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(2ms);
    EXPECT_FALSE(port->isConnected());
    OrvoASBPrinterStatusNonStrictParser parser(OrvoPrinterEmulation::kestrin);
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(*port, parser, 5000, false),
                              Prelix10ErrorKind::communication, "Open failed.");
        EXPECT_PRELIX10_ERROR(port->readUntilSize(4, 5000), Prelix10ErrorKind::invalidOperation, "Not opened.");
    });
    EXPECT_LT(took, 200ms);
    port->close();
    port->open(1000);  // a dropped port can be opened again
}

TEST_F(NetworkPortTest, FailedWriteNeverResendsAcceptedBytes) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.stallAfterBytes = 1000; }));
    auto port = dataPort();
    port->open(1000);
    ByteBlock job(16 * 1024 * 1024);
    for (std::size_t i = 0; i < job.size(); ++i) job[i] = static_cast<std::uint8_t>(0x20 + i % 90);
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(port->write(job, 300), Prelix10ErrorKind::communication, "Write failed.");
    });
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 1500ms);

    // The printer reads again: what it gets is a prefix of the job, nothing twice.
    server->setFaults(PrinterChannel::data, ConnectionFaults{});
    std::size_t last = 0;
    for (int i = 0; i < 200; ++i) {
        std::this_thread::sleep_for(10ms);
        const std::size_t now = engine->captureSize(PrinterChannel::data);
        if (now == last && now > 1000) break;
        last = now;
    }
    const ByteBlock captured = engine->capture(PrinterChannel::data);
    ASSERT_GT(captured.size(), 1000u);
    ASSERT_LT(captured.size(), job.size());
    EXPECT_TRUE(std::equal(captured.begin(), captured.end(), job.begin()));
}

TEST_F(NetworkPortTest, SlowReaderStillGetsEveryByteOnce) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.slowReadDelay = 2ms; f.slowReadChunk = 4096; }));
    auto port = dataPort();
    port->open(1000);
    ByteBlock job(256 * 1024);
    for (std::size_t i = 0; i < job.size(); ++i) job[i] = static_cast<std::uint8_t>(0x20 + i % 90);
    port->write(job, 10000);
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (engine->captureSize(PrinterChannel::data) < job.size() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(engine->capture(PrinterChannel::data), job);
}

TEST_F(NetworkPortTest, FloodOfNoiseCannotStallAnExchangePastItsBudget) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.floodOnConnect = true; }));
    auto port = dataPort();
    port->open(1000);
    OrvoASBPrinterStatusNonStrictParser waiting(OrvoPrinterEmulation::kestrin);
    auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(*port, waiting, 300, false),
                              Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_LT(took, 900ms);
    // Behind the noise a real reply is still found within the budget.
    OrvoASBPrinterStatusNonStrictParser parser(OrvoPrinterEmulation::kestrin, bytesFromHex("1B 06 01"));
    took = timed([&] { PortUtil::retrieveInformationImpl(*port, parser, 1000, true); });
    EXPECT_LT(took, 1000ms);
    ASSERT_TRUE(parser.status());
    EXPECT_FALSE(parser.status()->hasError());
}

TEST_F(NetworkPortTest, IdentifierAndNetworkChecks) {
    for (const char* bad : {"printer-1", "01.2.3.4", "1.2.3.256", "00:11:62:AA:BB", ""}) {
        TCPPort port(bad, server->dataPort());
        EXPECT_PRELIX10_ERROR(port.open(500), Prelix10ErrorKind::argument, "Invalid identifier.");
    }
    // Valid identifiers without a record need the LAN lookup; with none installed nothing is found.
    for (const char* good : {"127.0.0.1", "00:11:62:AA:BB:CC", "001162AABBCC", TCPPort::kFirstFoundDevice}) {
        TCPPort port(good, server->dataPort());
        EXPECT_PRELIX10_ERROR(port.open(500), Prelix10ErrorKind::notFound, "Device not found.");
    }
    // The lookup's record gives the address to connect to, whatever the identifier was.
    NetworkPortSettings::setNetworkCardLookup([this](const std::vector<std::string>& ids, std::int64_t) {
        EXPECT_EQ(ids.front(), "00:11:62:AA:BB:CC");
        return record();
    });
    TCPPort byMac("00:11:62:AA:BB:CC", server->dataPort(), std::vector<std::string>{"sub"});
    byMac.open(1000);
    EXPECT_EQ(byMac.actualIdentifier(), "127.0.0.1");
    EXPECT_EQ(byMac.identifiers(), (std::vector<std::string>{"127.0.0.1", "00:11:62:AA:BB:CC", "sub"}));

    NetworkPortSettings::setAvailabilityCheck([] { return false; });
    try {
        dataPort()->open(500);
        ADD_FAILURE() << "opened without a network";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.message(), "Network unavailable.");
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(error.errorCode(), Prelix10ErrorCode::networkUnavailable);
    }
    EXPECT_PRELIX10_ERROR(TCPPort("127.0.0.1", 1).connect("127.0.0.1", -1), Prelix10ErrorKind::notFound,
                          "Device not found.");
}

TEST_F(NetworkPortTest, SameDeviceNeedsTheSameInterfaceAndAnExactCommonIdentifier) {
    TCPPort a("127.0.0.1", 9100), b("127.0.0.1", 9101), c("127.0.0.1", 9100);
    a.setNicInformation(NetworkCardRecord{"10.0.0.5", "00:11:62:AA:BB:CC", {}});
    b.setNicInformation(NetworkCardRecord{"10.0.0.6", "00:11:62:AA:BB:CC", {}});
    c.setNicInformation(NetworkCardRecord{"10.0.0.7", "00-11-62-aa-bb-cc", {}});
    EXPECT_TRUE(a.isSameDevice(b));
    EXPECT_FALSE(a.isSameDevice(c));
    UDPPort udp("127.0.0.1", 0, "10.0.0.5", 22222);
    EXPECT_FALSE(a.isSameDevice(udp));
    EXPECT_TRUE(udp.identifiers().empty());
}

TEST_F(NetworkPortTest, UdpPortCarriesDatagramsOnLoopback) {
    UdpConnection peer;
    ASSERT_EQ(peer.open("127.0.0.1", 0, "127.0.0.1", 9), 0);
    const std::uint16_t peerPort = peer.localPort();
    UDPPort port("127.0.0.1", 0, "127.0.0.1", peerPort);
    port.open(500);
    ASSERT_TRUE(port.isConnected());
    peer.cancel();
    ASSERT_EQ(peer.open("127.0.0.1", peerPort, "127.0.0.1", port.boundLocalPort()), 0);
    ASSERT_EQ(peer.send(bytesFromHex("AA BB CC"), 100ms).error, 0);
    EXPECT_EQ(hex(port.readUntilSize(3, 1000)), "AABBCC");
    port.close();
    EXPECT_FALSE(port.isConnected());
}
