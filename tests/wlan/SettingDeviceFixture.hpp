#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "support/SimulatedBle.hpp"

namespace Prelix10::Testing {

// A simulated Bluetooth LE stack installed as the process's backend, with setting devices whose AT service
// answers through a handler.
class SettingDeviceFixture : public ::testing::Test {
protected:
    static constexpr const char* kAddress = "00:11:62:5E:77:01";
    static constexpr const char* kModel = "Ginor-7 BLE";

    void SetUp() override {
        ModelDetection::installBluetoothLEModelDetector();
        central = SimulatedBleCentral::make();
        central->setAdvertisingInterval(std::chrono::milliseconds(5));
        BleBackend::install(central);
        registeredBefore = OrvoDeviceManager::registeredCount();
    }
    void TearDown() override {
        for (auto& p : peripherals) p->dropLink();
        BleBackend::install(nullptr);
        CentralManagerControl::shared().centralManager();
    }

    std::shared_ptr<SimulatedBlePeripheral> addSettingDevice(SimulatedBlePeripheralConfig config,
                                                             SimulatedBlePeripheral::SettingHandler handler = nullptr) {
        auto peripheral = SimulatedBlePeripheral::make(std::move(config), nullptr, std::move(handler));
        central->addPeripheral(peripheral);
        peripherals.push_back(peripheral);
        return peripheral;
    }
    std::shared_ptr<SimulatedBlePeripheral> addSettingDevice(SimulatedBlePeripheral::SettingHandler handler = nullptr) {
        return addSettingDevice(settingDeviceConfig(kAddress, kModel), std::move(handler));
    }

    static OrvoConnectionSettings bleSettings(const std::string& identifier = kAddress) {
        return OrvoConnectionSettings(InterfaceType::bluetoothLE, identifier, false);
    }

    std::shared_ptr<SimulatedBleCentral> central;
    std::vector<std::shared_ptr<SimulatedBlePeripheral>> peripherals;
    std::size_t registeredBefore = 0;
};

// The error a future ends with, or none; waits at most limit.
template <typename T>
std::optional<Prelix10Error> errorOfFuture(std::future<T> future, std::chrono::milliseconds limit = std::chrono::seconds(15)) {
    if (future.wait_for(limit) != std::future_status::ready) {
        ADD_FAILURE() << "operation did not complete";
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    }
    try {
        future.get();
    } catch (const Prelix10Error& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace Prelix10::Testing
