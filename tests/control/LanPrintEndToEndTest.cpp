// Printing over loopback TCP against the virtual printer, through the LAN printer port of the maker's
// emulations, in each of its three status modes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../transport/LoopbackFixture.hpp"
#include "support/CaptureWait.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "prelix10/transport/PortUtil.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

enum class StatusSource { statusPort, dataPort, automatic };

const std::string kPreamble = "1B2A72421B1D030400001B1E45001B0601";
const std::string kReady = "1B1D03030000";
const std::string kMarker = "171B1D03040000";
// A small compiled job for the Kestrin emulation, as a byte block: initialise, text, feed and cut.
const ByteBlock kJob = bytesFromHex("1B 40 1B 1D 61 01 48 65 6C 6C 6F 2C 20 70 72 69 6E 74 65 72 0A 1B 64 03");

class LanPrintTest : public LoopbackFixture, public ::testing::WithParamInterface<StatusSource> {
protected:
    VirtualPrinterConfig config() override {
        VirtualPrinterConfig c;
        c.automaticStatus = GetParam() == StatusSource::automatic;
        return c;
    }
    void SetUp() override {
        LoopbackFixture::SetUp();
        NetworkPortSettings::setPorts(LanPortNumbers{server->dataPort(), server->statusPort(), 22222});
    }
    void TearDown() override {
        NetworkPortSettings::setPorts(LanPortNumbers{});
        LoopbackFixture::TearDown();
    }
    std::shared_ptr<OrvoLANPrinterPort> openPrinter(std::int64_t timeout = 3000) {
        auto tcp = std::make_shared<TCPPort>("127.0.0.1", NetworkPortSettings::ports().data);
        tcp->setNicInformation(record(GetParam() == StatusSource::automatic ? "Ubrek-EF91/92 rev.B" : "IFBD-HE07"));
        auto port = std::make_shared<OrvoLANPrinterPort>(tcp, GetParam() == StatusSource::dataPort);
        port->setEmulation(OrvoPrinterEmulation::kestrin);
        port->open(timeout);
        // The open's last write, automatic status off, may still be on its way when open returns: wait until
        // the printer has taken it, so that a capture cleared next cannot catch it.
        if (GetParam() != StatusSource::automatic) {
            EXPECT_TRUE(waitUntilCaptured(*engine, PrinterChannel::data, kAutomaticStatusOffHex));
        }
        return port;
    }
    // The data-port bytes one status read leaves behind in this mode.
    std::string statusTrace() const {
        switch (GetParam()) {
            case StatusSource::statusPort: return "00";
            case StatusSource::dataPort: return "1B0601";
            default: return "";
        }
    }
};

}  // namespace

TEST_P(LanPrintTest, PrintsAJobAndTheCaptureHoldsPreambleJobAndMarker) {
    auto port = openPrinter();
    EXPECT_EQ(port->isAutomaticStatus(), GetParam() == StatusSource::automatic);
    engine->clearCapture();
    OrvoPrinterControl control(port, false, false, false);
    EXPECT_LT(timed([&] { control.printLegacy(kJob, 5000); }), 2000ms);

    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_EQ(engine->state().etbCounter, 1);
    const std::string expectedHead = statusTrace() + kPreamble + statusTrace() + kReady + hex(kJob) + kMarker;
    const std::string capture = hex(engine->capture(PrinterChannel::data));
    ASSERT_GE(capture.size(), expectedHead.size());
    EXPECT_EQ(capture.substr(0, expectedHead.size()), expectedHead);
    // Behind the marker only what the end check's status reads leave (the last may still be on its way).
    std::string tail = capture.substr(expectedHead.size());
    const std::string trace = statusTrace();
    while (!trace.empty() && tail.starts_with(trace)) tail.erase(0, trace.size());
    EXPECT_EQ(tail, "");
    port->close();
}

TEST_P(LanPrintTest, StatusComesFromTheChosenSource) {
    auto port = openPrinter();
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    std::shared_ptr<const OrvoPrinterStatus> status;
    for (int i = 0; i < 50; ++i) {
        status = port->getStatus(1000);
        if (status->coverOpen()) break;
        std::this_thread::sleep_for(10ms);  // automatic status arrives by itself
    }
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->coverOpen());
    EXPECT_TRUE(status->hasError());
    const std::size_t statusConnections = server->acceptedCount(PrinterChannel::status);
    EXPECT_EQ(statusConnections > 0, GetParam() == StatusSource::statusPort);
}

TEST_P(LanPrintTest, CoverOpenBeforeTheJobPrintsNothing) {
    auto port = openPrinter();
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    if (GetParam() == StatusSource::automatic) std::this_thread::sleep_for(50ms);
    OrvoPrinterControl control(port, false, false, false);
    try {
        control.printLegacy(kJob, 2000);
        ADD_FAILURE() << "printed with the cover open";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Device has error.");
        EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::deviceHasError);
    }
    EXPECT_TRUE(engine->printedData().empty());
}

TEST_P(LanPrintTest, PaperEmptyDuringTheJobEndsWithDeviceHasErrorAndPrintsOnce) {
    engine->configure([](VirtualPrinterConfig& c) { c.paperEmptyAfterDataBytes = 10; });
    auto port = openPrinter();
    OrvoPrinterControl control(port, false, false, false);
    try {
        control.printLegacy(kJob, 3000);
        ADD_FAILURE() << "no error";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Device has error.");
        ASSERT_TRUE(e.status());
        EXPECT_TRUE(e.status()->paperEmpty());
    }
    // The error can be read before the marker behind the job reaches the printer: wait for it (bounded).
    for (int i = 0; i < 100 && engine->etbMarkerCount() == 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_EQ(engine->etbMarkerCount(), 1u);
}

TEST_P(LanPrintTest, PrinterThatNeverReportsTheJobDoneTimesOutWithinTheBudget) {
    engine->configure([](VirtualPrinterConfig& c) { c.countsEtb = false; });
    auto port = openPrinter();
    OrvoPrinterControl control(port, false, false, false);
    const auto took = timed([&] {
        try {
            control.printLegacy(kJob, 1000);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Print timed out.");
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::printingTimeout);
        }
    });
    EXPECT_GE(took, 1000ms);
    EXPECT_LT(took, 1600ms);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
}

TEST_P(LanPrintTest, SlowPrintingIsWaitedFor) {
    engine->configure([](VirtualPrinterConfig& c) { c.printDelay = 300ms; });
    auto port = openPrinter();
    OrvoPrinterControl control(port, false, false, false);
    const auto took = timed([&] { control.printLegacy(kJob, 3000); });
    EXPECT_GE(took, 300ms);
    EXPECT_EQ(engine->etbMarkerCount(), 1u);
}

TEST_P(LanPrintTest, ConnectionDroppedMidJobFailsWithinTheBudgetAndPrintsNothingTwice) {
    auto port = openPrinter();
    const std::size_t before = engine->captureSize(PrinterChannel::data);
    server->setFaults(PrinterChannel::data, makeFaults([&](auto& f) { f.closeAfterBytes = before + 200; }));
    server->dropConnections();  // the fault applies to new connections; reconnect under it
    port->close();
    port = openPrinter();
    ByteBlock job(256 * 1024, 0x41);
    OrvoPrinterControl control(port, false, false, false);
    const auto took = timed([&] { EXPECT_THROW(control.printLegacy(job, 2000), Prelix10Error); });
    EXPECT_LT(took, 2600ms);
    EXPECT_LE(engine->printedData().size(), job.size());
}

TEST_P(LanPrintTest, PrinterThatStallsItsReadsGivesPrintTimedOut) {
    auto port = openPrinter();
    server->setFaults(PrinterChannel::data, makeFaults([&](auto& f) {
                          f.stallAfterBytes = engine->captureSize(PrinterChannel::data) + 1000;
                      }));
    server->dropConnections();
    port->close();
    port = openPrinter();
    ByteBlock job(16 * 1024 * 1024, 0x41);
    OrvoPrinterControl control(port, false, false, false);
    const auto took = timed([&] {
        try {
            control.printLegacy(job, 1500);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Print timed out.");
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::printingTimeout);
        }
    });
    EXPECT_GE(took, 1500ms);
    EXPECT_LT(took, 2500ms);
}

// Status requests the printer has seen since the last clearCapture(): requests on either connection, and
// each new status-port connection (one request each).
struct RequestCounts {
    std::size_t dataPort = 0;
    std::size_t statusPort = 0;
    std::size_t statusConnections = 0;
};

TEST_P(LanPrintTest, HeldBeginCheckPollsOncePerCycle) {
    auto port = openPrinter();
    engine->update([](PrinterState& s) { s.paperPresent = true; });
    if (GetParam() == StatusSource::automatic) std::this_thread::sleep_for(50ms);
    engine->clearCapture();
    const std::size_t connectionsBefore = server->acceptedCount(PrinterChannel::status);
    OrvoPrinterControl control(port, false, false, false);
    const auto took = timed([&] {
        try {
            control.beginCheck(*port, 1200);
            ADD_FAILURE() << "the begin check passed while paper is held";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Printer is holding paper.");
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::printerHoldingPaper);
        }
    });
    RequestCounts seen{engine->statusRequestCount(PrinterChannel::data),
                       engine->statusRequestCount(PrinterChannel::status),
                       server->acceptedCount(PrinterChannel::status) - connectionsBefore};
    // Each cycle sleeps 0.1 s: one re-request, plus the status read itself (a status-port connection, or a
    // request on the print connection). The first read and the preamble come on top.
    const std::size_t cycles = static_cast<std::size_t>(took / 100ms) + 2;
    const std::size_t perCycle = GetParam() == StatusSource::dataPort ? 2 : 1;
    EXPECT_GE(took, 1200ms);
    EXPECT_LE(seen.dataPort, perCycle * cycles + 2) << "over " << took.count() << " ms";
    EXPECT_LE(seen.statusConnections, cycles + 1) << "over " << took.count() << " ms";
    EXPECT_LE(seen.statusPort, cycles + 1);
    EXPECT_EQ(seen.statusConnections > 0, GetParam() == StatusSource::statusPort);
}

TEST_P(LanPrintTest, EndCheckKeepsItsPaceWhileThePrinterChatters) {
    engine->configure([](VirtualPrinterConfig& c) { c.countsEtb = false; });
    auto port = openPrinter();
    // A board whose automatic status stays on sends a block at every change: here every 5 ms.
    engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
    std::atomic<bool> chatter{true};
    std::thread board([&] {
        while (chatter.load()) {
            engine->update([](PrinterState& s) { s.drawerSignal = !s.drawerSignal; });
            std::this_thread::sleep_for(5ms);
        }
    });
    for (const bool spooler : {false, true}) {
        SCOPED_TRACE(spooler ? "spooler model, 0.2 s" : "0.1 s");
        engine->clearCapture();
        const std::size_t connectionsBefore = server->acceptedCount(PrinterChannel::status);
        OrvoPrinterControl control(port, spooler, false, false);
        const auto took = timed([&] {
            try {
                control.endCheck(*port, 800);
                ADD_FAILURE() << "a job the printer never counted was reported printed";
            } catch (const Prelix10Error& e) {
                EXPECT_EQ(e.message(), "Print timed out.");
            }
        });
        const std::size_t requests = engine->statusRequestCount(PrinterChannel::data) +
                                     (server->acceptedCount(PrinterChannel::status) - connectionsBefore);
        const auto pause = spooler ? 200ms : 100ms;
        EXPECT_LE(requests, static_cast<std::size_t>(took / pause) + 2) << "over " << took.count() << " ms";
    }
    chatter.store(false);
    board.join();
}

INSTANTIATE_TEST_SUITE_P(StatusSources, LanPrintTest,
                         ::testing::Values(StatusSource::statusPort, StatusSource::dataPort, StatusSource::automatic),
                         [](const auto& info) {
                             switch (info.param) {
                                 case StatusSource::statusPort: return std::string("StatusPort");
                                 case StatusSource::dataPort: return std::string("DataPort");
                                 default: return std::string("AutomaticStatus");
                             }
                         });
