// Printing a mobile ESC/POS job over the simulated accessory against the virtual printer in its mobile
// ESC/POS mode: the handshake that frames the job and the status read behind it.
#include <gtest/gtest.h>

#include "../transport/AccessoryFixture.hpp"
#include "../transport/LoopbackFixture.hpp"
#include "prelix10/control/EscPosPrinterControl.hpp"
#include "prelix10/control/PrinterControlFactory.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const std::string kStatusRequest = "100404";
const std::string kBegin = "1B1C150500001B1C15060000";
const std::string kHandshakeDone = "1B1C15050000";
const std::string kEnd = "1B1C15060000";
const ByteBlock kJob = bytesFromHex("1B 40 48 65 6C 6C 6F 0A 1B 64 03");

class EscPosMobilePrintTest : public AccessoryFixture {
protected:
    void SetUp() override {
        AccessoryFixture::SetUp();
        engine->configure([](VirtualPrinterConfig& c) { c.dialect = PrinterDialect::escPosMobile; });
        addPrinter();
        auto raw = OrvoDeviceManager::exclusiveOpenPort(InterfaceType::bluetooth, "00:11:62:AA:BB:CC", 3000);
        port = PrinterPortFactory::create(raw, OrvoPrinterEmulation::escPosMobile, false);
        port->initialize(2000);
        control = PrinterControlFactory::create(port, {});
        ASSERT_TRUE(dynamic_cast<EscPosMobilePrinterControl*>(control.get()));
    }
    void TearDown() override {
        if (port) {
            port->close();
            OrvoDeviceManager::releasePort(&port->rawPort());
        }
        AccessoryFixture::TearDown();
    }
    std::shared_ptr<PrinterPort> port;
    std::shared_ptr<PrinterControl> control;
};

}  // namespace

TEST_F(EscPosMobilePrintTest, BothHandshakeBytesFrameTheJobByteForByte) {
    for (const std::uint8_t handshake : {0x26, 0x27}) {
        SCOPED_TRACE(static_cast<int>(handshake));
        engine->configure([&](VirtualPrinterConfig& c) { c.mobileHandshakeByte = handshake; });
        engine->clearCapture();
        control->printLegacy(kJob, 3000);
        EXPECT_EQ(hex(engine->capture(PrinterChannel::data)),
                  kStatusRequest + kBegin + kHandshakeDone + hex(kJob) + kEnd + kStatusRequest);
        EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    }
}

TEST_F(EscPosMobilePrintTest, AHandshakeOfZeroIsABadResponse) {
    engine->configure([](VirtualPrinterConfig& c) { c.mobileHandshakeByte = 0x00; });
    EXPECT_PRELIX10_ERROR(control->printLegacy(kJob, 2000), Prelix10ErrorKind::badResponse, "Bad response from device.");
    // The begin check stopped at the handshake: no job, no second ESC FS NAK ENQ.
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), kStatusRequest + kBegin);
    EXPECT_TRUE(engine->printedData().empty());
}

TEST_F(EscPosMobilePrintTest, StatusBytesDecideWhetherTheJobRuns) {
    struct Case {
        std::uint8_t status;
        const char* message;  // empty: printed
        Prelix10ErrorKind kind;
    };
    const Case cases[] = {
        {0x30, "", Prelix10ErrorKind::unknown},
        {0x34, "", Prelix10ErrorKind::unknown},
        {0x00, "Bad response from device.", Prelix10ErrorKind::badResponse},
        {0x31, "Device has error.", Prelix10ErrorKind::unprintable},
        {0x32, "Device has error.", Prelix10ErrorKind::unprintable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.status));
        engine->configure([&](VirtualPrinterConfig& config) { config.mobileStatusByte = c.status; });
        engine->clearCapture();
        if (std::string(c.message).empty()) {
            control->printLegacy(kJob, 2000);
            EXPECT_EQ(hex(engine->printedData()), hex(kJob));
            continue;
        }
        EXPECT_PRELIX10_ERROR(control->printLegacy(kJob, 2000), c.kind, c.message);
        EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), kStatusRequest);
        EXPECT_TRUE(engine->printedData().empty());
    }
}

TEST_F(EscPosMobilePrintTest, AnErrorAfterTheJobIsReportedByTheEndCheck) {
    // The status read behind the end handshake reports the paper gone.
    auto& mobile = dynamic_cast<EscPosMobilePrinterControl&>(*control);
    engine->update([](PrinterState& s) { s.paperEmpty = true; });
    try {
        mobile.endCheck(*port, 2000);
        ADD_FAILURE() << "no error";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Device has error.");
        EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::deviceHasError);
        ASSERT_TRUE(e.status());
        EXPECT_TRUE(e.status()->paperEmpty());
    }
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), kEnd + kStatusRequest);
}
