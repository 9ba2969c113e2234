#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "prelix10/platform/AccessoryManager.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/EAAccessoryPortSettings.hpp"
#include "prelix10/transport/BluetoothLEPortSettings.hpp"
#include "support/Hex.hpp"
#include "support/SimulatedAccessory.hpp"
#include "support/SimulatedBle.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

// A simulated accessory system installed as the process's backend, a virtual printer behind each accessory
// it offers, and a Bluetooth radio that is on.
class AccessoryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // These tests drive the port's own scan; a printer object made earlier in the same process
        // installs the discovery's lookup in its place.
        BluetoothLEPortSettings::setDeviceLookup(nullptr);
        VirtualPrinterConfig config;
        config.replyFraming = ReplyFraming::plain;
        engine = std::make_shared<VirtualPrinterEngine>(config);
        manager = std::make_shared<SimulatedAccessoryManager>();
        AccessoryBackend::install(manager);
        central = SimulatedBleCentral::make();
        BleBackend::install(central);
    }
    void TearDown() override {
        EAAccessoryPortSettings::setAccessoryLookup(nullptr);
        AccessoryBackend::install(nullptr);
        BleBackend::install(nullptr);
        CentralManagerControl::shared().centralManager();
    }

    std::shared_ptr<SimulatedAccessory> addPrinter(SimulatedAccessoryConfig config = {},
                                                   std::shared_ptr<VirtualPrinterEngine> behind = nullptr) {
        auto accessory = SimulatedAccessory::make(std::move(config), behind ? behind : engine);
        manager->addAccessory(accessory);
        return accessory;
    }
    static SimulatedAccessoryConfig usbConfig() {
        SimulatedAccessoryConfig config;
        config.name = "Wexal-U20";
        config.serialNumber = "U20-0001";
        config.transport = EAAccessoryType::usb;
        return config;
    }

    std::shared_ptr<VirtualPrinterEngine> engine;
    std::shared_ptr<SimulatedAccessoryManager> manager;
    std::shared_ptr<SimulatedBleCentral> central;
};

// Waits (bounded) until the condition holds.
inline bool eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

template <typename F>
std::chrono::milliseconds durationOf(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// The error f raises, or none.
template <typename F>
std::optional<Prelix10Error> errorRaisedBy(F&& f) {
    try {
        f();
    } catch (const Prelix10Error& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace Prelix10::Testing
