// Printing over loopback TCP against the virtual printer in its ESC/POS mode: the LAN printer port of the
// ESC/POS emulation from the printer-port factory, the ESC/POS printer control, and their faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "../transport/LoopbackFixture.hpp"
#include "prelix10/control/EscPosPrinterControl.hpp"
#include "prelix10/control/PrinterControlFactory.hpp"
#include "prelix10/transport/EscPosLANPrinterPort.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const std::string kInitialize = "1D6100";
const std::string kAfterStatus = "00";
const std::string kBegin = "1B1D030400001B1D030200001B1D03000000";
const std::string kReady = "1B1D03030000";
const std::string kEnd = "1B1D030100001B1D030400001B1D03000000";
const std::string kStatusRequest = "32" + std::string(100, '0');
// A small ESC/POS job (no NUL in it, so the status-read NULs can be counted): initialise, text, feed, cut.
const ByteBlock kJob = bytesFromHex("1B 40 1B 61 01 48 65 6C 6C 6F 2C 20 70 72 69 6E 74 65 72 0A 1B 64 03 1D 56 41 10");

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

// Counts and strips leading copies of s.
std::size_t stripRepeats(std::string& text, const std::string& s) {
    std::size_t n = 0;
    while (text.starts_with(s)) {
        text.erase(0, s.size());
        ++n;
    }
    return n;
}

class EscPosPrintTest : public LoopbackFixture {
protected:
    VirtualPrinterConfig config() override {
        VirtualPrinterConfig c;
        c.dialect = PrinterDialect::escPos;
        c.replyFraming = ReplyFraming::plain;
        return c;
    }
    void SetUp() override {
        LoopbackFixture::SetUp();
        NetworkPortSettings::setPorts(LanPortNumbers{server->dataPort(), server->statusPort(), 22222});
    }
    void TearDown() override {
        if (port) port->close();
        NetworkPortSettings::setPorts(LanPortNumbers{});
        LoopbackFixture::TearDown();
    }
    // The printer object's order: raw port open, printer port from the factory, initialise, control.
    void openPrinter(std::int64_t timeout = 3000) {
        if (port) port->close();
        auto tcp = std::make_shared<TCPPort>("127.0.0.1", NetworkPortSettings::ports().data);
        tcp->setNicInformation(record());
        tcp->open(timeout);
        port = PrinterPortFactory::create(tcp, OrvoPrinterEmulation::escPos, false);
        port->initialize(timeout);
        control = PrinterControlFactory::create(port, {});
        settle();
    }
    EscPosPrinterControl& escPos() { return dynamic_cast<EscPosPrinterControl&>(*control); }
    // Waits (bounded) until the print connection has been quiet for a moment: the NUL behind the last status
    // read is written before the call returns, but the printer may not have read it yet.
    void settle() {
        std::size_t last = engine->captureSize(PrinterChannel::data);
        for (int quiet = 0, i = 0; quiet < 10 && i < 400; ++i) {
            std::this_thread::sleep_for(5ms);
            const std::size_t now = engine->captureSize(PrinterChannel::data);
            quiet = now == last ? quiet + 1 : 0;
            last = now;
        }
    }

    std::shared_ptr<PrinterPort> port;
    std::shared_ptr<PrinterControl> control;
};

}  // namespace

TEST_F(EscPosPrintTest, TheCaptureIsTheFramedJobByteForByte) {
    openPrinter();
    ASSERT_TRUE(dynamic_cast<EscPosLANPrinterPort*>(port.get()));
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), kInitialize);
    engine->clearCapture();
    EXPECT_LT(timed([&] { control->printLegacy(kJob, 5000); }), 2000ms);
    settle();

    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_EQ(engine->state().etbCounter, 1);
    // First status read, the begin block, a status read per counter poll, the ready command and the port's
    // initialise, the job, the end block, a status read per counter poll.
    std::string rest = hex(engine->capture(PrinterChannel::data));
    const std::string head = kAfterStatus + kBegin;
    ASSERT_TRUE(rest.starts_with(head)) << rest;
    rest.erase(0, head.size());
    const std::size_t beginPolls = stripRepeats(rest, kAfterStatus);
    EXPECT_GE(beginPolls, 1u);
    const std::string middle = kReady + kInitialize + hex(kJob) + kEnd;
    ASSERT_TRUE(rest.starts_with(middle)) << rest;
    rest.erase(0, middle.size());
    const std::size_t endPolls = stripRepeats(rest, kAfterStatus);
    EXPECT_GE(endPolls, 1u);
    EXPECT_EQ(rest, "");
    // One status request per status-port read, each on a connection of its own.
    const std::size_t reads = 1 + beginPolls + endPolls;
    EXPECT_EQ(engine->statusRequestCount(PrinterChannel::status), reads);
    EXPECT_EQ(hex(engine->capture(PrinterChannel::status)), repeat(kStatusRequest, reads));
}

TEST_F(EscPosPrintTest, ACounterThatNeverResetsFailsTheBeginCheckWithTheLastStatusAndKeepsThePace) {
    engine->configure([](VirtualPrinterConfig& c) { c.clearsEtbCounter = false; });
    engine->update([](PrinterState& s) { s.etbCounter = 1; });
    openPrinter();
    engine->clearCapture();
    const std::size_t connectionsBefore = server->acceptedCount(PrinterChannel::status);
    const auto took = timed([&] {
        try {
            escPos().beginCheck(*port, 1200);
            ADD_FAILURE() << "the begin check passed with the counter at 1";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Initialize failed.");
            EXPECT_EQ(e.kind(), Prelix10ErrorKind::unprintable);
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::none);
            ASSERT_TRUE(e.status());
            EXPECT_FALSE(e.status()->hasError());
        }
    });
    EXPECT_GE(took, 1200ms);
    EXPECT_LT(took, 1700ms);
    // One status-port read per 0.1 s cycle, plus the first read.
    const std::size_t cycles = static_cast<std::size_t>(took / 100ms) + 1;
    EXPECT_LE(engine->statusRequestCount(PrinterChannel::status), cycles + 1) << "over " << took.count() << " ms";
    EXPECT_LE(server->acceptedCount(PrinterChannel::status) - connectionsBefore, cycles + 1);
    EXPECT_GE(engine->statusRequestCount(PrinterChannel::status), 5u);
    // The counter is asked for once, in the begin block; nothing is printed.
    EXPECT_TRUE(engine->printedData().empty());
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)).find(kReady), std::string::npos);
}

TEST_F(EscPosPrintTest, AJobTheCounterNeverConfirmsTimesOutWithinTheBudgetAndKeepsThePace) {
    engine->configure([](VirtualPrinterConfig& c) { c.countsEtb = false; });
    openPrinter();
    engine->clearCapture();
    const auto took = timed([&] {
        try {
            control->printLegacy(kJob, 1000);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Print timed out.");
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::printingTimeout);
            EXPECT_FALSE(e.status());
        }
    });
    EXPECT_GE(took, 1000ms);
    EXPECT_LT(took, 1600ms);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_LE(engine->statusRequestCount(PrinterChannel::status), static_cast<std::size_t>(took / 100ms) + 3);
}

TEST_F(EscPosPrintTest, AnErrorInTheFirstStatusWritesNothing) {
    openPrinter();
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    engine->clearCapture();
    try {
        control->printLegacy(kJob, 2000);
        ADD_FAILURE() << "printed with the cover open";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Device has error.");
        EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::deviceHasError);
        ASSERT_TRUE(e.status());
        EXPECT_TRUE(e.status()->coverOpen());
    }
    settle();
    // Only the NUL that follows the status read.
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), kAfterStatus);
}

TEST_F(EscPosPrintTest, PaperEmptyDuringTheJobEndsWithDeviceHasErrorAndPrintsOnce) {
    engine->configure([](VirtualPrinterConfig& c) { c.paperEmptyAfterDataBytes = 10; });
    openPrinter();
    const auto took = timed([&] {
        try {
            control->printLegacy(kJob, 3000);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Device has error.");
            ASSERT_TRUE(e.status());
            EXPECT_TRUE(e.status()->paperEmpty());
        }
    });
    EXPECT_LT(took, 3500ms);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
}

TEST_F(EscPosPrintTest, ASplitCounterReplyIsRecognisedOnTheNextRead) {
    engine->configure([](VirtualPrinterConfig& c) { c.splitEtbReplyDelay = 150ms; });
    openPrinter();
    auto& lan = dynamic_cast<EscPosLANPrinterPort&>(*port);
    port->write(bytesFromHex("1B 1D 03 00 00 00"), 1000);
    ASSERT_TRUE(waitForBytes(dynamic_cast<NetworkPort&>(port->rawPort()), 4));
    const auto first = port->getStatusWithCheckETBCounter(1000);
    EXPECT_FALSE(first->detailInternal()->etbCounter().has_value());
    EXPECT_EQ(lan.pendingResponseCount(), 4);
    std::this_thread::sleep_for(200ms);
    const auto second = port->getStatusWithCheckETBCounter(1000);
    EXPECT_EQ(second->detailInternal()->etbCounter(), 0);
    EXPECT_EQ(lan.pendingResponseCount(), 0);
    // The bytes the check took are gone from the port's reads.
    EXPECT_TRUE(port->readOnceUnconsumed(64).empty());

    // A whole job with every counter reply split.
    control->printLegacy(kJob, 3000);
    EXPECT_EQ(engine->state().etbCounter, 1);
}

TEST_F(EscPosPrintTest, NoiseOnThePrintConnectionLeavesTheCounterFoundAndTheBufferSmall) {
    std::mt19937 random(7);
    Bytes noise(16 * 1024);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random() & 0xFF);
    // A frame start and a broken reply among the noise.
    const Bytes broken = bytesFromHex("1B 1D 03 00 00 00 05 7F 1B 1D 03");
    noise.insert(noise.end(), broken.begin(), broken.end());
    engine->configure([&](VirtualPrinterConfig& c) { c.noiseBeforeEtbReply = noise; });
    openPrinter();
    control->printLegacy(kJob, 5000);
    EXPECT_EQ(engine->state().etbCounter, 1);
    EXPECT_LE(dynamic_cast<EscPosLANPrinterPort&>(*port).pendingResponseCount(), EscPosLANPrinterPort::kLongestPartialReply);

    // Noise only: each check keeps no more than the tail that could still start a reply.
    engine->sendRaw(Bytes(5000, 0x1B));
    ASSERT_TRUE(waitForBytes(dynamic_cast<NetworkPort&>(port->rawPort()), 5000));
    const auto status = port->getStatusWithCheckETBCounter(1000);
    EXPECT_FALSE(status->detailInternal()->etbCounter().has_value());
    EXPECT_LE(dynamic_cast<EscPosLANPrinterPort&>(*port).pendingResponseCount(), EscPosLANPrinterPort::kLongestPartialReply);
}

TEST_F(EscPosPrintTest, AStatusPortThatStaysDownFailsWithinTheBudget) {
    openPrinter();
    server->setFaults(PrinterChannel::status, makeFaults([](auto& f) { f.refuse = true; }));
    const auto took = timed([&] { EXPECT_THROW(control->printLegacy(kJob, 1000), Prelix10Error); });
    EXPECT_LT(took, 1500ms);
    EXPECT_TRUE(engine->printedData().empty());
}

TEST_F(EscPosPrintTest, AStatusPortThatNeverAnswersGivesRequestTimedOut) {
    openPrinter();
    server->setFaults(PrinterChannel::status, makeFaults([](auto& f) { f.silent = true; }));
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(control->printLegacy(kJob, 800), Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_LT(took, 1300ms);
    EXPECT_TRUE(engine->printedData().empty());
}

TEST_F(EscPosPrintTest, ConnectionDroppedMidJobFailsWithinTheBudgetAndPrintsNothingTwice) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.closeAfterBytes = 3 + 1 + 18 + 1 + 6 + 3 + 200; }));
    openPrinter();
    ByteBlock job(256 * 1024, 0x41);
    const auto took = timed([&] { EXPECT_THROW(control->printLegacy(job, 2000), Prelix10Error); });
    EXPECT_LT(took, 2600ms);
    EXPECT_LE(engine->printedData().size(), job.size());
}

TEST_F(EscPosPrintTest, APrinterThatStallsItsReadsGivesPrintTimedOut) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.stallAfterBytes = 1000; }));
    openPrinter();
    ByteBlock job(16 * 1024 * 1024, 0x41);
    const auto took = timed([&] {
        try {
            control->printLegacy(job, 1500);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Print timed out.");
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::printingTimeout);
        }
    });
    EXPECT_GE(took, 1500ms);
    EXPECT_LT(took, 2500ms);
    EXPECT_LE(engine->printedData().size(), job.size());
}

TEST_F(EscPosPrintTest, CoverOpenedWhileTheJobPrintsEndsWithDeviceHasErrorWithinTheBudget) {
    engine->configure([](VirtualPrinterConfig& c) { c.printDelay = 400ms; });
    openPrinter();
    // The cover opens once the printer holds the whole job, well before it counts it as printed.
    std::thread opener([&] {
        for (int i = 0; i < 600 && engine->printedData().size() < kJob.size(); ++i) std::this_thread::sleep_for(5ms);
        engine->update([](PrinterState& s) { s.coverOpen = true; });
    });
    const auto took = timed([&] {
        try {
            control->printLegacy(kJob, 3000);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Device has error.");
            EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::deviceHasError);
            ASSERT_TRUE(e.status());
            EXPECT_TRUE(e.status()->coverOpen());
        }
    });
    opener.join();
    EXPECT_LT(took, 1000ms);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
}

TEST_F(EscPosPrintTest, AnErrorWhileTheBeginCheckWaitsForTheCounterDoesNotStopIt) {
    // The counter reply comes late; meanwhile the printer reports an error.
    engine->configure([](VirtualPrinterConfig& c) { c.splitEtbReplyDelay = 350ms; });
    openPrinter();
    // The error comes once the printer has read the begin check's counter request, so it always falls
    // within the wait for the late reply, however slowly the job got there.
    const std::size_t before = engine->captureSize(PrinterChannel::data);
    std::thread fault([&] {
        for (int i = 0; i < 600; ++i) {
            const Bytes seen = engine->capture(PrinterChannel::data);
            if (hex(Bytes(seen.begin() + static_cast<std::ptrdiff_t>(std::min(before, seen.size())), seen.end())).find(kBegin) != std::string::npos) break;
            std::this_thread::sleep_for(5ms);
        }
        std::this_thread::sleep_for(50ms);
        engine->update([](PrinterState& s) { s.errorForced = true; });
    });
    EXPECT_PRELIX10_ERROR(control->printLegacy(kJob, 3000), Prelix10ErrorKind::unprintable, "Device has error.");
    fault.join();
    // The begin check went on to the job; the end check stopped at the error.
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_NE(hex(engine->capture(PrinterChannel::data)).find(kReady + kInitialize + hex(kJob) + kEnd), std::string::npos);
}
