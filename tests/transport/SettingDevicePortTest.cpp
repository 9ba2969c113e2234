#include <gtest/gtest.h>

#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/SettingDevicePort.hpp"
#include "transport/BleFixture.hpp"

namespace Prelix10::Testing {
namespace {

TEST(SettingDevicePortFactory, OnlyBluetoothLEPortsGiveASettingPort) {
    const std::vector<std::shared_ptr<RawPort>> others = {std::make_shared<TCPPort>("127.0.0.1", 9100),
                                                          std::make_shared<USBPort>("SN1"),
                                                          std::make_shared<BluetoothPort>("00:11:22:33:44:55")};
    for (const auto& port : others) {
        const auto error = errorOf([&] { SettingDevicePortFactory::create(port); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(error->message(), "Unexpected state at line 8 of SettingDevicePortFactory.");
    }
    for (const std::shared_ptr<RawPort>& ble : {std::shared_ptr<RawPort>(std::make_shared<BluetoothLESettingPort>("X")),
                                                std::shared_ptr<RawPort>(std::make_shared<BluetoothLEPrintPort>("X"))}) {
        auto port = SettingDevicePortFactory::create(ble);
        EXPECT_TRUE(std::dynamic_pointer_cast<OrvoBluetoothLESettingDevicePort>(port));
        EXPECT_EQ(&port->rawPort(), ble.get());
    }
}

// A setting-device port class that does not carry the marker: the base class does not act for it.
class UnmarkedSettingDevicePort final : public BaseSettingDevicePort {
public:
    using BaseSettingDevicePort::BaseSettingDevicePort;
};

TEST(BaseSettingDevicePort, ActsOnlyForMarkedClasses) {
    UnmarkedSettingDevicePort port(std::make_shared<BluetoothLESettingPort>("X"));
    const auto init = errorOf([&] { port.initialize(1000); });
    ASSERT_TRUE(init);
    EXPECT_EQ(init->message(), "Unexpected state at line 28 of BaseSettingDevicePort.");
    const auto read = errorOf([&] { port.readOnce(10); });
    ASSERT_TRUE(read);
    EXPECT_EQ(read->message(), "Unexpected state at line 57 of BaseSettingDevicePort.");
    port.close();
}

class SettingDevicePortTest : public BleFixture {};

TEST_F(SettingDevicePortTest, InitializeSendsNothingAndCloseOfAClosedPortIsHarmless) {
    SimulatedBlePeripheralConfig config = settingDeviceConfig("00:11:62:5E:77:02", "Ginor-7 BLE");
    auto peripheral = SimulatedBlePeripheral::make(config, nullptr, [](std::span<const std::uint8_t>) {
        return Bytes{'O', 'K'};
    });
    central->addPeripheral(peripheral);
    peripherals.push_back(peripheral);
    auto raw = std::make_shared<BluetoothLESettingPort>("00:11:62:5E:77:02");
    raw->open(5000);
    auto port = SettingDevicePortFactory::create(raw);
    for (std::int64_t timeout : {0, -1, 1000}) port->initialize(timeout);
    EXPECT_TRUE(peripheral->writes().empty());

    port->write({'A', 'T', 0x0D}, 2000);
    EXPECT_EQ(hex(peripheral->receivedBytes()), "41540D");
    ByteBlock reply;
    for (int i = 0; i < 300 && reply.size() < 2; ++i) {
        auto piece = port->readOnce(1024);
        reply.insert(reply.end(), piece.begin(), piece.end());
        port->waitForIncomingBytes(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(hex(reply), "4F4B");

    port->close();
    EXPECT_FALSE(raw->isConnected());
    port->close();
    const auto error = errorOf([&] { port->write({0x41}, 100); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Not opened.");
}

}  // namespace
}  // namespace Prelix10::Testing
