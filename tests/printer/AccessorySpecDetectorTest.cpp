#include <gtest/gtest.h>

#include "prelix10/printer/BluetoothPrinterSpecDetector.hpp"
#include "prelix10/printer/USBPrinterSpecDetector.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpecDetectorFactory.hpp"
#include "prelix10/protocol/DiscoveryParser.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "transport/AccessoryFixture.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

class AccessorySpecDetector : public AccessoryFixture {
protected:
    // An opened port of the given class to an accessory with this model number.
    template <typename Port>
    std::shared_ptr<Port> openPort(const std::string& modelNumber) {
        SimulatedAccessoryConfig config;
        config.modelNumber = modelNumber;
        device = addPrinter(config);
        auto port = std::make_shared<Port>(config.serialNumber);
        port->setAccessory(device);
        port->open(2000);
        return port;
    }
    PrinterSpecDetector::Result detect(const std::shared_ptr<RawPort>& port, std::int64_t timeout = 2000) {
        return PrinterSpecDetectorFactory::create(port)->detect(timeout);
    }
    std::shared_ptr<SimulatedAccessory> device;
};

}  // namespace

TEST_F(AccessorySpecDetector, AMobileModelIsAskedWhichEmulationItSpeaks) {
    struct Case {
        PrinterDialect dialect;
        OrvoPrinterEmulation expected;
    } cases[] = {
        {PrinterDialect::orvo, OrvoPrinterEmulation::kestrin},               // two status blocks
        {PrinterDialect::escPosMobile, OrvoPrinterEmulation::escPosMobile},  // the one paper-status byte
    };
    for (const auto& c : cases) {
        engine->configure([&](VirtualPrinterConfig& config) { config.dialect = c.dialect; });
        auto port = openPort<BluetoothPort>("Wexal-X759K");
        const auto [detection, emulation] = detect(port);
        EXPECT_EQ(detection->model(), OrvoPrinterModel::wexal_X759k);
        EXPECT_EQ(emulation, c.expected);
        EXPECT_EQ(hex(device->receivedBytes()), "1B06011B0601100404");
        port->close();
        manager->removeAccessory(device);
    }
}

TEST_F(AccessorySpecDetector, AnUnknownBluetoothModelIsAskedForItsFirmware) {
    auto port = openPort<BluetoothPort>("NoSuchModel");
    auto [detection, emulation] = detect(port);
    EXPECT_EQ(detection->model(), OrvoPrinterModel::kelto59KK);  // the virtual printer's firmware text
    EXPECT_EQ(emulation, OrvoPrinterEmulation::kestrin);
    EXPECT_EQ(hex(device->receivedBytes()), "1B232A0A00");

    // A reply that is no firmware information names no model, without an error.
    engine->configure([](VirtualPrinterConfig& config) { config.firmwareText = "NoVersionHere"; });
    std::tie(detection, emulation) = detect(port);
    EXPECT_EQ(detection->model(), OrvoPrinterModel::unknown);
    EXPECT_EQ(emulation, OrvoPrinterEmulation::unknown);
}

TEST_F(AccessorySpecDetector, KnownModelsAreToldByTheirModelNumberWithoutAsking) {
    auto usb = openPort<USBPort>("Harlo586KKKH-2");
    auto [detection, emulation] = detect(usb, 0);
    EXPECT_EQ(detection->model(), OrvoPrinterModel::harlo599KKKH);
    EXPECT_EQ(emulation, OrvoPrinterEmulation::orvoGraphic);
    auto bluetooth = openPort<BluetoothPort>("Telva71-1");
    std::tie(detection, emulation) = detect(bluetooth, 0);
    EXPECT_EQ(detection->model(), OrvoPrinterModel::Telva_7);
    EXPECT_EQ(emulation, OrvoPrinterEmulation::kestrin);
    EXPECT_TRUE(device->receivedBytes().empty());
}

TEST_F(AccessorySpecDetector, ABluetoothMobilePrinterOpensInTheEmulationItAnswers) {
    engine->configure([](VirtualPrinterConfig& config) { config.dialect = PrinterDialect::escPosMobile; });
    SimulatedAccessoryConfig config;
    config.modelNumber = "Wexal-X759K";
    addPrinter(config);
    auto printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::bluetooth, config.serialNumber, false));
    ASSERT_NO_THROW(printer->open().get());
    EXPECT_EQ(printer->informationRecord()->emulation, OrvoPrinterEmulation::escPosMobile);
    EXPECT_NO_THROW(printer->getStatus().get());
    printer->close().get();
}

TEST(LANSpecDetector, TheRecordTheOpenFetchedTellsTheModelWithoutALookup) {
    struct Case {
        std::optional<std::string> deviceModel;
        std::optional<std::string> nameDetail;
        OrvoPrinterModel model;
    };
    const Case cases[] = {
        {"Kelto59 (ESP-001)", std::nullopt, OrvoPrinterModel::kelto59},
        // A row that asks for the detailed name takes it, and gives unknown without it.
        {"Harlo599KZ (ORV-001)", "Harlo599KZ", OrvoPrinterModel::harlo599KZ},
        {"Harlo599KZ (ORV-001)", std::nullopt, OrvoPrinterModel::unknown},
        {"Something (XYZ)", std::nullopt, OrvoPrinterModel::unknown},
    };
    // Any lookup goes to a loopback responder that never answers, and so runs out its time.
    VirtualPrinterDiscovery responder(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}});
    responder.setSilent(true);
    LoopbackLan lan(1, 1, responder.port());
    for (const auto& c : cases) {
        auto port = std::make_shared<TCPPort>("127.0.0.2", 9100);
        auto card = std::make_shared<OrvoNICInformation>();
        card->deviceModel = c.deviceModel;
        card->nameDetail = c.nameDetail;
        port->setNicInformation(NetworkCardRecord{"127.0.0.2", "00:11:62:AA:BB:CC", "IF-BT", card});
        const auto took = durationOf([&] {
            const auto [detection, emulation] = PrinterSpecDetectorFactory::create(port)->detect(3000);
            EXPECT_EQ(detection->model(), c.model) << c.deviceModel.value_or("");
            EXPECT_EQ(emulation, emulationOfModel(c.model));
        });
        EXPECT_LT(took, std::chrono::milliseconds(2000));
    }
}
