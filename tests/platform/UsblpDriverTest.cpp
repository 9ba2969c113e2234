// The USB printer backend against a stand-in for the kernel's usblp driver: transfers that complete empty
// or fail once, writes still in flight at close, the driver's single open, and the device ID as the
// driver hands it over.
#include <gtest/gtest.h>

#include <fcntl.h>

#include "../transport/AccessoryFixture.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/platform/DeviceAccessoryManager.hpp"
#include "prelix10/platform/UsbPrinterAccessorySource.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"
#include "support/UsblpDriver.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const ByteBlock kJob = bytesFromHex("1B 40 1B 1D 61 01 48 65 6C 6C 6F 2C 20 70 72 69 6E 74 65 72 0A 1B 64 03");
const ByteBlock kDrawerKick = bytesFromHex("1B 70 00 19 FA");

std::vector<std::uint8_t> deviceId(const std::string& text, std::size_t length = 0) {
    if (length == 0) length = text.size() + 2;
    std::vector<std::uint8_t> reply{static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)};
    reply.insert(reply.end(), text.begin(), text.end());
    return reply;
}

UsblpDriver::Device printer(std::shared_ptr<VirtualPrinterEngine> engine, std::vector<std::uint8_t> id) {
    UsblpDriver::Device device;
    device.engine = std::move(engine);
    device.deviceId = std::move(id);
    return device;
}

class UsblpDriverTest : public AccessoryFixture {
protected:
    void SetUp() override {
        AccessoryFixture::SetUp();
        engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
        driver = UsblpDriver::make();
    }
    void TearDown() override {
        if (raw) {
            raw->close();
            OrvoDeviceManager::releasePort(raw.get());
        }
        raw.reset();
        port.reset();
        AccessoryFixture::TearDown();
        installed.reset();
        driver.reset();
    }
    void plugPrinter() {
        driver->plug(0, printer(engine, deviceId("MFG:Orvo;MDL:Rovan20;SN:U20-0001;")));
        install();
    }
    void install() {
        installed = std::make_shared<DeviceAccessoryManager>(
            std::vector<std::shared_ptr<DeviceAccessorySource>>{
                std::make_shared<UsbPrinterAccessorySource>(driver->options())},
            100ms);
        AccessoryBackend::install(installed);
    }
    // Registered and open; a failed open leaves nothing registered.
    void openRaw(std::int64_t timeout = 3000) {
        raw = OrvoDeviceManager::exclusiveOpenPort(InterfaceType::usb, "U20-0001", timeout);
    }
    void openPrinter() {
        openRaw();
        port = PrinterPortFactory::create(raw, OrvoPrinterEmulation::kestrin, false);
        port->initialize(2000);
    }

    std::shared_ptr<UsblpDriver> driver;
    std::shared_ptr<DeviceAccessoryManager> installed;
    std::shared_ptr<RawPort> raw;
    std::shared_ptr<PrinterPort> port;
};

}  // namespace

TEST_F(UsblpDriverTest, TransfersThatCompleteEmptyOrFailOnceLeaveTheSessionOpen) {
    plugPrinter();
    openPrinter();
    using R = UsblpDriver::ReadCompletion;
    driver->queueReadCompletions(0, {R::empty, R::error, R::empty, R::empty, R::error});
    OrvoPrinterControl control(port, false, false, false);
    EXPECT_EQ(errorRaisedBy([&] { control.printLegacy(kJob, 5000); }), std::nullopt);
    EXPECT_EQ(hex(engine->printedData()), hex(kJob));
    EXPECT_TRUE(raw->isConnected());
}

TEST_F(UsblpDriverTest, ADeviceWhoseReadsKeepFailingEndsTheSession) {
    plugPrinter();
    openPrinter();
    using R = UsblpDriver::ReadCompletion;
    driver->queueReadCompletions(0, std::vector<R>(20, R::error));
    EXPECT_TRUE(eventually([&] { return !raw->isConnected(); }, 3000ms));
}

TEST_F(UsblpDriverTest, ADeviceUnpluggedMidJobFailsTheJobAtOnce) {
    plugPrinter();
    openPrinter();
    // Every call on the node is ENODEV from then on.
    driver->setWriteLatency(0, 5ms);
    std::thread unplug([&] {
        eventually([&] { return driver->bytesTaken(0) > 16 * 1024; }, 3000ms);
        driver->unplug(0);
    });
    OrvoPrinterControl control(port, false, false, false);
    std::optional<Prelix10Error> error;
    const auto took =
        durationOf([&] { error = errorRaisedBy([&] { control.printLegacy(ByteBlock(256 * 1024, 0x41), 10000); }); });
    unplug.join();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Write failed.");
    EXPECT_LT(took, 5000ms);
}

TEST_F(UsblpDriverTest, AWriteStillInFlightReachesTheDeviceBeforeTheNodeCloses) {
    plugPrinter();
    openRaw();
    // The device takes its time with each transfer, as a printer busy printing does.
    driver->setWriteLatency(0, 300ms);
    raw->write(kDrawerKick, 2000);
    raw->close();
    EXPECT_EQ(driver->droppedBytes(0), 0u);
    EXPECT_EQ(driver->bytesTaken(0), kDrawerKick.size());
    EXPECT_TRUE(hex(engine->capture(PrinterChannel::data)).ends_with(hex(kDrawerKick)));
    EXPECT_FALSE(driver->isOpen(0));
}

TEST_F(UsblpDriverTest, ANodeHeldByAnotherProcessIsInUseAtOnce) {
    plugPrinter();
    const int other = driver->open(driver->nodePath(0), O_RDWR | O_NONBLOCK);
    ASSERT_GE(other, 0);
    std::optional<Prelix10Error> error;
    const auto took = durationOf([&] { error = errorRaisedBy([&] { openRaw(3000); }); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::inUse);
    EXPECT_EQ(error->message(), "The device is in use by another process.");
    EXPECT_LT(took, 1500ms);
    EXPECT_EQ(raw, nullptr);

    // Once the other process lets go, the node opens.
    driver->close(other);
    EXPECT_EQ(errorRaisedBy([&] { openRaw(3000); }), std::nullopt);
}

TEST_F(UsblpDriverTest, TheIdIsReadWhileTheNodeIsHeldAndAFailedReadIsTriedAgain) {
    // lp0 answered at plug-in; lp1 did not, and its ID is longer than the driver's buffer.
    driver->plug(0, printer(engine, deviceId("MFG:Orvo;MDL:Rovan20;SN:U20-0001;")));
    auto late = printer(engine, deviceId("MFG:Orvo;MDL:Telva72;SN:T72-0002;DES:" + std::string(1500, 'D') + ";", 1541));
    late.answeredIdAtProbe = false;
    late.devnum = 3;
    driver->plug(1, late);
    // Another process holds both nodes, so the ID request on them is refused.
    const int held0 = driver->open(driver->nodePath(0), O_RDWR | O_NONBLOCK);
    const int held1 = driver->open(driver->nodePath(1), O_RDWR | O_NONBLOCK);
    ASSERT_GE(held0, 0);
    ASSERT_GE(held1, 0);
    install();
    auto list = installed->connectedAccessories();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->serialNumber(), "U20-0001");
    EXPECT_TRUE(EAAccessoryPortSettings::isMakersAccessory(*list[0]));
    EXPECT_EQ(list[1]->manufacturer(), "");

    // Let go: the next scan asks lp1 again.
    driver->close(held1);
    installed->rescan();
    list = installed->connectedAccessories();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->serialNumber(), "U20-0001");
    EXPECT_EQ(list[1]->manufacturer(), "Orvo");
    EXPECT_EQ(list[1]->modelNumber(), "Telva72");
    EXPECT_EQ(list[1]->serialNumber(), "T72-0002");
    EXPECT_TRUE(EAAccessoryPortSettings::isMakersAccessory(*list[1]));
    driver->close(held0);
}
