// The printer ports of the two ESC/POS emulations, and the printer-port factory's whole table.
#include <gtest/gtest.h>

#include <map>

#include "AccessoryFixture.hpp"
#include "LoopbackFixture.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/EscPosLANPrinterPort.hpp"
#include "prelix10/transport/EscPosMobileEAAccessoryPrinterPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

enum class Link { tcp, accessory, bluetoothLE, udp };

// The factory's table as the printer library documents it: the class made, or the row that refuses the pair.
std::string expectedFor(Link link, int emulation) {
    const bool makers = emulation >= 1 && emulation <= 4;
    switch (link) {
        case Link::tcp: return makers ? "OrvoLANPrinterPort" : emulation == 5 ? "EscPosLANPrinterPort" : "13";
        case Link::accessory:
            return makers ? "OrvoEAAccessoryPrinterPort" : emulation == 6 ? "EscPosMobileEAAccessoryPrinterPort" : "24";
        case Link::bluetoothLE: return emulation == 4 ? "OrvoBluetoothLEPrinterPort" : "33";
        default: return "38";
    }
}

class PrinterPortFactoryTable : public AccessoryFixture {};

}  // namespace

TEST_F(PrinterPortFactoryTable, EveryEmulationOnEveryKindOfPort) {
    const std::map<Link, std::shared_ptr<RawPort>> ports{
        {Link::tcp, std::make_shared<TCPPort>("127.0.0.1", 9100)},
        {Link::accessory, std::make_shared<BluetoothPort>("Wexal-T10")},
        {Link::bluetoothLE, std::make_shared<BluetoothLEPrintPort>("00:11:62:AA:BB:CC")},
        {Link::udp, std::make_shared<UDPPort>("127.0.0.1", 0, "127.0.0.1", 22222)},
    };
    for (const auto& [link, raw] : ports) {
        for (int e = 0; e <= 7; ++e) {
            const auto emulation = static_cast<OrvoPrinterEmulation>(e);
            const std::string expected = expectedFor(link, e);
            SCOPED_TRACE(expected + " for emulation " + std::to_string(e));
            std::shared_ptr<PrinterPort> port;
            const auto error = errorRaisedBy([&] { port = PrinterPortFactory::create(raw, emulation, false); });
            if (std::isdigit(static_cast<unsigned char>(expected[0]))) {
                ASSERT_TRUE(error);
                EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
                EXPECT_EQ(error->message(), "Not Supported interface.");
                EXPECT_FALSE(raw->isConnected());
                continue;
            }
            ASSERT_FALSE(error) << error->description();
            ASSERT_TRUE(port);
            EXPECT_EQ(typeNameOf(*port), expected);
            EXPECT_EQ(port->emulation(), emulation);
            EXPECT_EQ(&port->rawPort(), raw.get());
        }
    }
}

namespace {

class EscPosLANPortTest : public LoopbackFixture {
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
        NetworkPortSettings::setPorts(LanPortNumbers{});
        LoopbackFixture::TearDown();
    }
};

}  // namespace

TEST_F(EscPosLANPortTest, InitialiseWritesItsCommandAndAStatusReadLeavesOneNul) {
    auto tcp = dataPort();
    EscPosLANPrinterPort port(tcp);
    port.setEmulation(OrvoPrinterEmulation::escPos);
    port.open(2000);  // opens the raw port and initialises
    engine->update([](PrinterState& s) {
        s.paperNearEmpty = true;
        s.drawerSignal = true;
    });
    const auto status = port.getStatus(1000);
    EXPECT_FALSE(status->hasError());
    EXPECT_TRUE(status->paperNearEmpty());
    EXPECT_TRUE(status->drawerOpenCloseSignal());
    EXPECT_FALSE(status->detailInternal()->etbCounter().has_value());
    for (int i = 0; i < 200 && engine->captureSize(PrinterChannel::data) < 4; ++i) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), "1D610000");
    EXPECT_EQ(engine->statusRequestCount(PrinterChannel::status), 1u);
    EXPECT_EQ(server->acceptedCount(PrinterChannel::status), 1u);
    port.close();
    EXPECT_FALSE(tcp->isConnected());
}

TEST_F(EscPosLANPortTest, StatusPortRefusedAFewTimesIsRetriedEveryTenthOfASecond) {
    auto tcp = dataPort();
    EscPosLANPrinterPort port(tcp);
    port.open(2000);
    server->setFaults(PrinterChannel::status, makeFaults([](auto& f) { f.refuse = true; }));
    std::thread recover([&] {
        std::this_thread::sleep_for(350ms);
        server->setFaults(PrinterChannel::status, {});
    });
    const auto took = timed([&] { EXPECT_TRUE(port.getStatus(2000)); });
    recover.join();
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 1000ms);
    EXPECT_EQ(engine->statusRequestCount(PrinterChannel::status), 1u);
    port.close();
}

TEST_F(EscPosLANPortTest, GarbledStatusRepliesGiveRequestTimedOut) {
    engine->configure([](VirtualPrinterConfig& c) { c.garbageReplies = true; });
    auto tcp = dataPort();
    EscPosLANPrinterPort port(tcp);
    port.open(2000);
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(port.getStatus(500), Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_LT(took, 1000ms);
    // No NUL goes to the print connection after a read that found no status: only the initialise is there.
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), "1D6100");
    port.close();
}

namespace {

class EscPosMobilePortTest : public AccessoryFixture {
protected:
    void SetUp() override {
        AccessoryFixture::SetUp();
        engine->configure([](VirtualPrinterConfig& c) { c.dialect = PrinterDialect::escPosMobile; });
        accessory = addPrinter();
        auto raw = std::make_shared<BluetoothPort>("Wexal-T10");
        port = std::dynamic_pointer_cast<EscPosMobileEAAccessoryPrinterPort>(
            PrinterPortFactory::create(raw, OrvoPrinterEmulation::escPosMobile, false));
        ASSERT_TRUE(port);
        raw->open(2000);
        port->initialize(1000);
    }
    void TearDown() override {
        if (port) port->close();
        AccessoryFixture::TearDown();
    }
    std::shared_ptr<SimulatedAccessory> accessory;
    std::shared_ptr<EscPosMobileEAAccessoryPrinterPort> port;
};

}  // namespace

TEST_F(EscPosMobilePortTest, BothStatusReadsSendDleEot4AndReadTheSameByte) {
    EXPECT_EQ(hex(accessory->receivedBytes()), "");  // initialise writes nothing
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    const auto plain = port->getStatus(1000);
    const auto withCounter = port->getStatusWithCheckETBCounter(1000);
    EXPECT_EQ(hex(accessory->receivedBytes()), "100404100404");
    for (const auto& status : {plain, withCounter}) {
        EXPECT_TRUE(status->coverOpen());
        EXPECT_TRUE(status->hasError());
        EXPECT_FALSE(status->paperEmpty());
    }
}

TEST_F(EscPosMobilePortTest, StatusBytesTheParserAcceptsPassAndOthersAreBadResponses) {
    struct Case {
        std::uint8_t reply;
        bool accepted;
        bool hasError;
    };
    const Case cases[] = {{0x30, true, false}, {0x31, true, true}, {0x32, true, true}, {0x3F, true, true},
                          {0x00, false, false}, {0x20, false, false}, {0x10, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(hex(Bytes{c.reply}));
        engine->configure([&](VirtualPrinterConfig& config) { config.mobileStatusByte = c.reply; });
        if (c.accepted) {
            const auto status = port->getStatus(1000);
            EXPECT_EQ(status->hasError(), c.hasError);
        } else {
            EXPECT_PRELIX10_ERROR(port->getStatus(1000), Prelix10ErrorKind::badResponse, "Bad response from device.");
        }
    }
}
