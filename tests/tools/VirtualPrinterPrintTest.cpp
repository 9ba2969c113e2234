// A job whose commands hold 0x17 prints through the library against the virtual printer at once, with
// the job counted once: the printer reads the end-of-job counter back as the job left it.
#include <gtest/gtest.h>

#include "../transport/LoopbackFixture.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "prelix10/transport/PortUtil.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

class VirtualPrinterPrint : public LoopbackFixture {
protected:
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

TEST_F(VirtualPrinterPrint, AQrCodeOfTwentyThreeCharactersPrintsAtOnce) {
    // The QR store command of 23 characters carries the length byte 0x17.
    ByteBlock job = bytesFromHex("1B 1D 79 53 30 02 1B 1D 79 53 31 01 1B 1D 79 53 32 03 1B 1D 79 44 31 00 17 00");
    for (int i = 0; i < 23; ++i) job.push_back(static_cast<std::uint8_t>('A' + i));
    for (const auto b : bytesFromHex("1B 1D 79 50 1B 64 03")) job.push_back(b);

    auto tcp = std::make_shared<TCPPort>("127.0.0.1", server->dataPort());
    tcp->setNicInformation(record());
    auto port = std::make_shared<OrvoLANPrinterPort>(tcp, false);
    port->setEmulation(OrvoPrinterEmulation::kestrin);
    port->open(3000);
    engine->clearCapture();
    OrvoPrinterControl control(port, false, false, false);
    // Well inside the budget on a loaded machine; a miscounted job would take all of it.
    EXPECT_LT(timed([&] { control.printLegacy(job, 10000); }), 8000ms);
    EXPECT_EQ(engine->etbMarkerCount(), 1u);
    EXPECT_EQ(hex(engine->printedData()), hex(job));
    port->close();
}
