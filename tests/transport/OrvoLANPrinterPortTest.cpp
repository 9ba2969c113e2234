#include <gtest/gtest.h>

#include "LoopbackFixture.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "support/CaptureWait.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const ByteBlock kInformationRequest = bytesFromHex("1B 1D 29 49 01 00 31");

class OrvoLANPrinterPortTest : public LoopbackFixture {
protected:
    void SetUp() override {
        LoopbackFixture::SetUp();
        NetworkPortSettings::setPorts(LanPortNumbers{server->dataPort(), server->statusPort(), 22222});
    }
    void TearDown() override {
        NetworkPortSettings::setPorts(LanPortNumbers{});
        LoopbackFixture::TearDown();
    }
    std::shared_ptr<OrvoLANPrinterPort> makePort(const std::string& boardName, bool via9100 = false) {
        auto tcp = std::make_shared<TCPPort>("127.0.0.1", server->dataPort());
        tcp->setNicInformation(record(boardName));
        auto port = std::make_shared<OrvoLANPrinterPort>(tcp, via9100);
        port->setEmulation(OrvoPrinterEmulation::kestrin);
        return port;
    }
    std::string informationReply() {
        ByteBlock reply = kInformationRequest;
        const std::string text = engine->config().informationText;
        reply.insert(reply.end(), text.begin(), text.end());
        reply.push_back(0x0A);
        reply.push_back(0x00);
        return hex(reply);
    }
};

}  // namespace

TEST_F(OrvoLANPrinterPortTest, ModeFollowsTheBoardName) {
    EXPECT_TRUE(makePort("Ubrek-EF91/92")->isAutomaticStatus());
    EXPECT_TRUE(makePort("x Ubrek-EF91/92 y", false)->isAutomaticStatus());
    EXPECT_FALSE(makePort("IFBD-HE07", true)->isAutomaticStatus());
    auto bare = std::make_shared<TCPPort>("127.0.0.1", server->dataPort());
    EXPECT_FALSE(OrvoLANPrinterPort(bare, false).isAutomaticStatus());
}

TEST_F(OrvoLANPrinterPortTest, ReadsReturnOnlyExtensionRepliesAndNeverTwice) {
    auto port = makePort("IFBD-HE07");
    port->open(2000);
    // The reply travels in a status block extension; a plain status block follows it.
    port->write(kInformationRequest, 1000);
    port->write(bytesFromHex("1B 06 01"), 1000);
    const std::string expected = informationReply();
    ByteBlock got;
    for (int i = 0; i < 200 && hex(got).size() < expected.size(); ++i) {
        got = port->readOnceUnconsumed(65535);
        std::this_thread::sleep_for(5ms);
    }
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(hex(port->readOnceUnconsumed(65535)), expected);
    EXPECT_EQ(hex(port->readOnce(65535)), expected);
    EXPECT_TRUE(port->readOnce(65535).empty());
    ASSERT_TRUE(port->automaticStatus());
    port->close();
    EXPECT_TRUE(port->readOnceUnconsumed(10).empty());
}

TEST_F(OrvoLANPrinterPortTest, StatusPortReadWritesOneNulAndRetriesARefusal) {
    auto port = makePort("IFBD-HE07");
    port->open(2000);
    // Cleared only once the open's last write has landed, which would otherwise join the NUL.
    EXPECT_TRUE(waitUntilCaptured(*engine, PrinterChannel::data, kAutomaticStatusOffHex));
    engine->clearCapture();
    server->setFaults(PrinterChannel::status, makeFaults([](auto& f) { f.refuse = true; }));
    std::thread release([&] {
        std::this_thread::sleep_for(250ms);
        server->setFaults(PrinterChannel::status, ConnectionFaults{});
    });
    auto status = port->getStatus(3000);
    release.join();
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->hasError());
    EXPECT_EQ(server->acceptedCount(PrinterChannel::status), 1u);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), "00");
    EXPECT_EQ(engine->statusRequestCount(), 1u);
}

TEST_F(OrvoLANPrinterPortTest, SilentStatusPortTimesOut) {
    auto port = makePort("IFBD-HE07");
    port->open(2000);
    server->setFaults(PrinterChannel::status, makeFaults([](auto& f) { f.silent = true; }));
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(port->getStatus(400), Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_GE(took, 400ms);
    EXPECT_LT(took, 900ms);
}

TEST_F(OrvoLANPrinterPortTest, AutomaticModeNeedsAStatusBlockAtInitialise) {
    engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.silent = true; }));
    auto silent = makePort("Ubrek-EF91/92");
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(silent->open(400), Prelix10ErrorKind::inUse, "The device is in use by another host.");
    });
    EXPECT_LT(took, 900ms);
    silent->close();

    // Behind a 64 KiB flood of noise the board's status block is still found within the budget.
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.floodOnConnect = true; }));
    auto flooded = makePort("Ubrek-EF91/92");
    try {
        EXPECT_LT(timed([&] { flooded->open(2000); }), 2000ms);
    } catch (const Prelix10Error& e) {
        FAIL() << e.description();
    }
    engine->update([](PrinterState& s) { s.paperEmpty = true; });
    std::shared_ptr<const OrvoPrinterStatus> status;
    for (int i = 0; i < 100; ++i) {
        status = flooded->getStatus(1000);
        if (status->paperEmpty()) break;
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(status->paperEmpty());

    // Once the printer drops the link the last status is not handed out again.
    server->dropConnections();
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (flooded->isConnected() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(2ms);
    EXPECT_PRELIX10_ERROR(flooded->getStatus(1000), Prelix10ErrorKind::invalidOperation, "Not opened.");
}

TEST_F(OrvoLANPrinterPortTest, DataPortStatusAndDisablingTheBoardsStatus) {
    engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
    auto port = makePort("IFBD-HE07", true);
    port->open(2000);  // initialise switches the automatic status off
    EXPECT_FALSE(engine->automaticStatusEnabled());
    engine->update([](PrinterState& s) { s.drawerSignal = true; });
    EXPECT_TRUE(port->getStatus(1000)->drawerOpenCloseSignal());
    EXPECT_EQ(server->acceptedCount(PrinterChannel::status), 0u);
}

TEST_F(OrvoLANPrinterPortTest, AStatusBlockTooLongForAnyBufferDoesNotHideTheFramesBehindIt) {
    engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
    auto port = makePort("Ubrek-EF91/92");
    port->open(2000);
    ASSERT_FALSE(port->getStatus(1000)->coverOpen());
    // A block that announces an extension of 0xFFFF bytes: with its header it could never fit a receive
    // buffer, so no amount of waiting completes it. The board then reports the cover open.
    Bytes damaged = encodeStatusBlock(PrinterState{}, 16, 3);
    damaged[1] |= 0x80;
    damaged.push_back(0xFF);
    damaged.push_back(0xFF);
    engine->sendRaw(damaged);
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    auto waitFor = [&](bool coverOpen) {
        std::shared_ptr<const OrvoPrinterStatus> status;
        for (int i = 0; i < 100; ++i) {
            status = port->getStatus(1000);
            if (status->coverOpen() == coverOpen) break;
            std::this_thread::sleep_for(10ms);
        }
        return status;
    };
    auto status = waitFor(true);
    EXPECT_TRUE(status->coverOpen());
    EXPECT_TRUE(status->hasError());
    // Later blocks keep coming through.
    engine->update([](PrinterState& s) { s.coverOpen = false; });
    EXPECT_FALSE(waitFor(false)->coverOpen());
    port->close();
}
