// Printing a Kestrin job over the simulated accessory and over the simulated Bluetooth LE peripheral against
// the virtual printer: the exclusive open, the printer port from the factory, its initialise, and the
// print job frame of the maker's printer control.
#include <gtest/gtest.h>

#include "../transport/AccessoryFixture.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

enum class Link { accessory, bluetoothLE };

const std::string kStatusOff = "1B1E6100";
const std::string kStatusRequest = "1B0601";
const std::string kPreamble = "1B2A72421B1D030400001B1E45001B0601";
const std::string kReady = "1B1D03030000";
const std::string kMarker = "171B1D03040000";
// A small compiled job for the Kestrin emulation: initialise, text, feed and cut.
const ByteBlock kJob = bytesFromHex("1B 40 1B 1D 61 01 48 65 6C 6C 6F 2C 20 70 72 69 6E 74 65 72 0A 1B 64 03");

class AccessoryPrintTest : public AccessoryFixture, public ::testing::WithParamInterface<Link> {
protected:
    void SetUp() override {
        AccessoryFixture::SetUp();
        engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
        if (GetParam() == Link::accessory) {
            addPrinter();
        } else {
            central->setAdvertisingInterval(5ms);
            peripheral = SimulatedBlePeripheral::make({}, engine);
            central->addPeripheral(peripheral);
        }
    }
    void TearDown() override {
        if (port) {
            port->close();
            OrvoDeviceManager::releasePort(&port->rawPort());
        }
        if (peripheral) peripheral->dropLink();
        AccessoryFixture::TearDown();
    }
    void openPrinter() {
        const InterfaceType type = GetParam() == Link::accessory ? InterfaceType::bluetooth : InterfaceType::bluetoothLE;
        auto raw = OrvoDeviceManager::exclusiveOpenPort(type, "00:11:62:AA:BB:CC", 3000);
        port = PrinterPortFactory::create(raw, OrvoPrinterEmulation::kestrin, false);
        port->initialize(2000);
    }

    std::shared_ptr<SimulatedBlePeripheral> peripheral;
    std::shared_ptr<PrinterPort> port;
};

}  // namespace

TEST_P(AccessoryPrintTest, TheCaptureIsTheStatusSwitchTheFramedJobAndTheEndCheck) {
    openPrinter();
    OrvoPrinterControl control(port, false, false, false);
    control.printLegacy(kJob, 5000);

    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_EQ(engine->state().etbCounter, 1);
    const std::string expectedHead =
        kStatusOff + kStatusRequest + kPreamble + kStatusRequest + kReady + hex(kJob) + kMarker;
    const std::string capture = hex(engine->capture(PrinterChannel::data));
    ASSERT_GE(capture.size(), expectedHead.size()) << capture;
    EXPECT_EQ(capture.substr(0, expectedHead.size()), expectedHead);
    // Behind the marker only the end check's status requests.
    std::string tail = capture.substr(expectedHead.size());
    ASSERT_FALSE(tail.empty());
    while (tail.starts_with(kStatusRequest)) tail.erase(0, kStatusRequest.size());
    EXPECT_EQ(tail, "");
}

TEST_P(AccessoryPrintTest, EndCheckPollsNoFasterThanItsPause) {
    engine->configure([](VirtualPrinterConfig& c) { c.printDelay = 600ms; });
    openPrinter();
    engine->clearCapture();
    OrvoPrinterControl control(port, false, false, false);
    const auto took = durationOf([&] { control.printLegacy(kJob, 5000); });
    EXPECT_GE(took, 600ms);
    // The begin check reads twice (before and after its preamble, whose own request is answered too); the
    // end check once per 0.1 s cycle, plus the read that sees the job done.
    const std::size_t endCheckReads = engine->statusRequestCount() - 3;
    EXPECT_LE(endCheckReads, static_cast<std::size_t>(took / 100ms) + 2) << "over " << took.count() << " ms";
    EXPECT_GE(endCheckReads, 4u);
}

TEST_P(AccessoryPrintTest, HeldBeginCheckPollsOncePerCycle) {
    openPrinter();
    engine->update([](PrinterState& s) { s.paperPresent = true; });
    engine->clearCapture();
    OrvoPrinterControl control(port, false, false, false);
    const auto took = durationOf([&] {
        const auto error = errorRaisedBy([&] { control.beginCheck(*port, 1000); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->message(), "Printer is holding paper.");
    });
    // Each 0.1 s cycle: the status read and the re-request; the first read and the preamble on top.
    const std::size_t cycles = static_cast<std::size_t>(took / 100ms) + 1;
    EXPECT_LE(engine->statusRequestCount(), 2 * cycles + 2) << "over " << took.count() << " ms";
}

INSTANTIATE_TEST_SUITE_P(Links, AccessoryPrintTest, ::testing::Values(Link::accessory, Link::bluetoothLE),
                         [](const auto& info) {
                             return info.param == Link::accessory ? std::string("Accessory")
                                                                  : std::string("BluetoothLE");
                         });
