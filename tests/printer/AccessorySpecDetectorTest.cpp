#include <gtest/gtest.h>

#include "prelix10/printer/BluetoothPrinterSpecDetector.hpp"
#include "prelix10/printer/USBPrinterSpecDetector.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpecDetectorFactory.hpp"
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
