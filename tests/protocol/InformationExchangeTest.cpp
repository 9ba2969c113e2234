#include <gtest/gtest.h>

#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/protocol/AccessoryReplyParsers.hpp"
#include "prelix10/protocol/FirmwareInformationParser.hpp"
#include "prelix10/protocol/InformationReplyParsers.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "prelix10/transport/PortUtil.hpp"
#include "transport/LoopbackFixture.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

// The virtual printer answers over loopback; the parsers read its replies through the request utility.
class InformationExchangeTest : public LoopbackFixture {
protected:
    VirtualPrinterConfig config() override {
        VirtualPrinterConfig c;
        c.informationText = "BtAdS=00-11-62-0a-0b-0c,LaNmA=00:11:62:AA:BB:CC,UsSrN=U1,PrSrN=P1";
        c.mountedInterfacesText = "ETHERNET,USB-B,BLE";
        c.availableCommands = {{0x1B, 0x40}};
        c.firmwareText = "Kelto59KKVer2.1";
        return c;
    }
};

}  // namespace

// The board of a LAN printer wraps each reply in status block extensions; the printer port unwraps them.
TEST_F(InformationExchangeTest, InformationAndFirmwareOverTheLanPrinterPort) {
    auto tcp = dataPort();
    OrvoLANPrinterPort port(tcp, false);
    port.setEmulation(OrvoPrinterEmulation::kestrin);
    port.open(2000);

    PrinterInformationParser information;
    PortUtil::retrieveInformationImpl(port, information, 5000, true);
    ASSERT_TRUE(information.printerInformationDictionary());
    const PrinterInformationDictionary expected{
        {PrinterInformationType::bluetoothAddress, "0011620A0B0C"},
        {PrinterInformationType::macAddress, "001162AABBCC"},
        {PrinterInformationType::usbSerialNumber, "U1"},
        {PrinterInformationType::productSerialNumber, "P1"},
    };
    EXPECT_EQ(*information.printerInformationDictionary(), expected);

    MountedInterfaceInformationParser mounted;
    PortUtil::retrieveInformationImpl(port, mounted, 5000, true);
    MountedInterfaces interfaces;
    interfaces.hasEthernet = interfaces.hasUSB_B = interfaces.hasBle = true;
    EXPECT_EQ(mounted.mountedInterfaces(), interfaces);

    CommandAvailableInformationParser supported({0x1B, 0x40});
    PortUtil::retrieveInformationImpl(port, supported, 5000, true);
    EXPECT_EQ(supported.available(), true);
    CommandAvailableInformationParser unsupported({0x1B, 0x41, 0x00});
    PortUtil::retrieveInformationImpl(port, unsupported, 5000, true);
    EXPECT_EQ(unsupported.available(), false);

    OrvoFirmwareInformationParser firmware(&ModelDetection::detectModelFromFirmwareName);
    PortUtil::retrieveInformationImpl(port, firmware, 5000, true);
    ASSERT_TRUE(firmware.internalInformation());
    EXPECT_EQ(firmware.internalInformation()->model(), OrvoPrinterModel::kelto59KK);
    EXPECT_EQ(firmware.internalVersion(), "2.1");
    // Each exchange took its whole reply: nothing is left for the next reader, LF NUL included.
    EXPECT_EQ(hex(port.readOnceUnconsumed(65535)), "");

    const std::string requests = hex(engine->capture(PrinterChannel::data));
    for (const char* request : {"1B1D2949010031", "1B1D294903003300" "00", "1B1D294905007F00001B40",
                                "1B1D294906007F00001B4100", "1B232A0A00"}) {
        EXPECT_NE(requests.find(request), std::string::npos) << request;
    }
    port.close();
}

// Over a plain connection (as accessories and Bluetooth LE carry them) the replies come as they are.
TEST_F(InformationExchangeTest, AccessoryRepliesOverARawPort) {
    engine->configure([](VirtualPrinterConfig& c) {
        c.replyFraming = ReplyFraming::plain;
        c.displayStatus = 0x03;
        c.inputDeviceStatus = 0x02;
        c.inputDeviceStoredData = ByteBlock(0x8123, 0x39);
    });
    auto port = dataPort();
    port->open(2000);

    DisplayStatusParser display;
    PortUtil::retrieveInformationImpl(*port, display, 5000, true);
    EXPECT_EQ(display.isConnected(), true);
    EXPECT_EQ(display.existsStoredData(), true);
    InputDeviceStatusParser input;
    PortUtil::retrieveInformationImpl(*port, input, 5000, true);
    EXPECT_EQ(input.isConnected(), true);
    EXPECT_EQ(input.existsStoredData(), false);
    InputDeviceStoredDataParser stored;
    PortUtil::retrieveInformationImpl(*port, stored, 5000, true);
    ASSERT_TRUE(stored.storedData());
    EXPECT_EQ(stored.storedData()->size(), 0x8123u);
    EXPECT_EQ(hex(port->readOnceUnconsumed(65535)), "");
    port->close();
}
