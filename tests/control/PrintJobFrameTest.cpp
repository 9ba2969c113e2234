#include <gtest/gtest.h>

#include "ScriptedPrinterPort.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "../transport/LoopbackFixture.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const std::string kPreamble = "1B2A72421B1D030400001B1E45001B0601";
const std::string kReady = "1B1D03030000";
const std::string kMarker = "171B1D03040000";
const ByteBlock kJob = bytesFromHex("1B 40 48 65 6C 6C 6F 0A 1B 64 03");

auto etb(int n) {
    return makeStatus([n](auto&, auto& d) { d.etbCounter = n; });
}

struct Rig {
    std::shared_ptr<ScriptedPrinterPort> port = std::make_shared<ScriptedPrinterPort>();
    OrvoPrinterControl control{port, false, false, false};
};

void expectError(const std::function<void()>& f, Prelix10ErrorKind kind, const std::string& message,
                 Prelix10ErrorCode code) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.kind(), kind) << e.description();
        EXPECT_EQ(e.message(), message);
        EXPECT_EQ(e.errorCode(), code);
    }
}

}  // namespace

TEST(PrintJobFrameTest, PrintsTheJobBetweenTheChecks) {
    Rig rig;
    rig.port->statuses = {{etb(1)}, {etb(0)}, {etb(1)}};
    rig.control.printLegacy(kJob, 5000);
    EXPECT_EQ(rig.port->writes, (std::vector<std::string>{kPreamble, kReady, hex(kJob), kMarker}));
}

TEST(PrintJobFrameTest, WriteFailingAfterTheBudgetIsPrintTimedOut) {
    Rig rig;
    rig.port->statuses = {{etb(0)}};
    rig.port->onWrite = [&](const std::string& h, std::int64_t timeout) {
        if (h != hex(kJob)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout + 5));
        throw Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed);
    };
    expectError([&] { rig.control.printLegacy(kJob, 200); }, Prelix10ErrorKind::unprintable, "Print timed out.",
                Prelix10ErrorCode::printingTimeout);
    // Within the budget the port's own error is kept.
    Rig early;
    early.port->statuses = {{etb(0)}};
    early.port->onWrite = [&](const std::string& h, std::int64_t) {
        if (h == hex(kJob)) throw Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed);
    };
    expectError([&] { early.control.printLegacy(kJob, 5000); }, Prelix10ErrorKind::communication, "Write failed.",
                Prelix10ErrorCode::none);
}

TEST(PrintJobFrameTest, AFailedBeginCheckWritesNothing) {
    Rig rig;
    rig.port->statuses = {{makeStatus([](auto& s, auto&) { s.hasError = true; })}};
    try {
        rig.control.printLegacy(kJob, 1000);
        ADD_FAILURE();
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Device has error.");
        EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::deviceHasError);
        ASSERT_TRUE(e.status());
        EXPECT_TRUE(e.status()->hasError());
    }
    EXPECT_TRUE(rig.port->writes.empty());
}

TEST(PrintJobFrameTest, BaseControlHasNoChecksAndBaseRequestsOnlyCheckSupport) {
    auto port = std::make_shared<ScriptedPrinterPort>();
    BasePrinterControl bare(port, false, false, false);
    EXPECT_THROW(bare.printLegacy(kJob, 1000), Prelix10Error);
    EXPECT_TRUE(port->writes.empty());
    expectError([&] { bare.printSpool(kJob, OrvoSpoolJobSettings(true, 9999, ""), {}, 100); },
                Prelix10ErrorKind::unsupportedModel, "Not supported model.", Prelix10ErrorCode::none);
    expectError([&] { bare.getOrvoConfig(OrvoConfigArea::user, std::nullopt, 100); },
                Prelix10ErrorKind::unsupportedModel, "Not supported model.", Prelix10ErrorCode::none);
    BasePrinterControl spooling(port, true, true, false);
    expectError([&] { spooling.printSpool(kJob, OrvoSpoolJobSettings(true, 10, ""), {}, 100); },
                Prelix10ErrorKind::unknown, "Unexpected state at line 66 of BasePrinterControl.", Prelix10ErrorCode::none);
    expectError([&] { spooling.setOrvoConfig("{}", 100); }, Prelix10ErrorKind::unknown,
                "Unexpected state at line 93 of BasePrinterControl.", Prelix10ErrorCode::none);
    EXPECT_EQ(OrvoSpoolJobSettings(true, 9999, "").timeout(), 3600);
    EXPECT_EQ(OrvoSpoolJobSettings(true, -5, "").timeout(), 0);
}

TEST(BeginCheckTest, WaitsForReadinessAndFailsByTheLastStatus) {
    struct Case {
        const char* name;
        std::shared_ptr<const OrvoPrinterStatus> stuck;
        std::string message;
        Prelix10ErrorCode code;
    };
    const Case cases[] = {
        {"holding paper", makeStatus([](auto&, auto& d) { d.paperPresent = true; }), "Printer is holding paper.",
         Prelix10ErrorCode::printerHoldingPaper},
        {"counter stuck at 1", etb(1), "Initialize failed.", Prelix10ErrorCode::none},
        {"no counter reported", makeStatus([](auto&, auto& d) { d.etbCounter.reset(); }), "Initialize failed.",
         Prelix10ErrorCode::none},
        {"external device 1/2 not ready", makeStatus([](auto&, auto& d) { d.externalDevice12Ready = false; }),
         "Initialize failed.", Prelix10ErrorCode::none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto port = std::make_shared<ScriptedPrinterPort>();
        port->statuses = {{c.stuck}};
        OrvoPrinterControl control(port, false, false, false);
        const auto took = timed([&] {
            expectError([&] { control.beginCheck(*port, 350); }, Prelix10ErrorKind::unprintable, c.message, c.code);
        });
        EXPECT_GE(took, 350ms);
        EXPECT_LT(took, 700ms);
        // The status request is sent again once per poll, after the preamble.
        ASSERT_GE(port->writes.size(), 3u);
        EXPECT_EQ(port->writes.front(), kPreamble);
        for (std::size_t i = 1; i < port->writes.size(); ++i) EXPECT_EQ(port->writes[i], "1B0601");
    }
    // Not reported means no hold.
    auto port = std::make_shared<ScriptedPrinterPort>();
    port->statuses = {{makeStatus([](auto&, auto& d) {
        d.paperPresent.reset();
        d.externalDevice12Ready.reset();
        d.externalDevice34Ready.reset();
    })}};
    OrvoPrinterControl control(port, false, false, false);
    control.beginCheck(*port, 1000);
    EXPECT_EQ(port->writes, (std::vector<std::string>{kPreamble, kReady}));
}

TEST(EndCheckTest, StatusDecidesBeforeTheDeadline) {
    // A status read after the deadline that shows the job printed is success, not "Print timed out.".
    auto port = std::make_shared<ScriptedPrinterPort>();
    port->statuses = {{etb(1), 250ms}};
    OrvoPrinterControl control(port, false, false, false);
    control.endCheck(*port, 100);
    EXPECT_EQ(port->writes, (std::vector<std::string>{kMarker}));

    auto never = std::make_shared<ScriptedPrinterPort>();
    never->statuses = {{etb(0)}};
    OrvoPrinterControl neverControl(never, true, false, false);
    const auto took = timed([&] {
        expectError([&] { neverControl.endCheck(*never, 500); }, Prelix10ErrorKind::unprintable, "Print timed out.",
                    Prelix10ErrorCode::printingTimeout);
    });
    EXPECT_GE(took, 500ms);
    EXPECT_LT(took, 900ms);
    EXPECT_LE(never->statusReads, 4);  // 0.2 s between polls on spooling models

    auto broken = std::make_shared<ScriptedPrinterPort>();
    broken->statuses = {{etb(0)}, {makeStatus([](auto& s, auto&) { s.hasError = true; })}};
    OrvoPrinterControl brokenControl(broken, false, false, false);
    expectError([&] { brokenControl.endCheck(*broken, 2000); }, Prelix10ErrorKind::unprintable, "Device has error.",
                Prelix10ErrorCode::deviceHasError);
}

TEST(DisableAutomaticStatusTest, QuietPrinterSucceedsChattyOneFails) {
    auto quiet = std::make_shared<ScriptedPrinterPort>();
    quiet->reads = {bytesFromHex("41 00"), bytesFromHex("00")};
    auto took = timed([&] { OrvoPrinterControl::disableAutomaticStatus(*quiet, 1000); });
    EXPECT_GE(took, 50ms);
    EXPECT_LT(took, 300ms);
    EXPECT_EQ(quiet->writes, (std::vector<std::string>{"1B1E6100"}));

    auto chatty = std::make_shared<ScriptedPrinterPort>();
    chatty->reads = std::deque<ByteBlock>(1000, ByteBlock{0x41});
    took = timed([&] {
        expectError([&] { OrvoPrinterControl::disableAutomaticStatus(*chatty, 200); }, Prelix10ErrorKind::badResponse,
                    "Initialize failed.", Prelix10ErrorCode::none);
    });
    EXPECT_GE(took, 200ms);
    EXPECT_LT(took, 500ms);
}
