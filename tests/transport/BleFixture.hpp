#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/BluetoothLEPortSettings.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "support/Hex.hpp"
#include "support/SimulatedBle.hpp"
#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

// A simulated Bluetooth LE stack installed as the process's backend, with a virtual printer behind each
// peripheral it offers.
class BleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ModelDetection::installBluetoothLEModelDetector();
        // These tests drive the port's own scan; a printer object made earlier in the same process
        // installs the discovery's lookup in its place.
        BluetoothLEPortSettings::setDeviceLookup(nullptr);
        VirtualPrinterConfig config;
        config.replyFraming = ReplyFraming::plain;
        engine = std::make_shared<VirtualPrinterEngine>(config);
        central = SimulatedBleCentral::make();
        central->setAdvertisingInterval(std::chrono::milliseconds(5));
        BleBackend::install(central);
    }
    void TearDown() override {
        for (auto& p : peripherals) p->dropLink();
        BleBackend::install(nullptr);
        // Let the shared control let go of the simulator now, not at the next test's first call.
        CentralManagerControl::shared().centralManager();
    }

    std::shared_ptr<SimulatedBlePeripheral> addPrinter(SimulatedBlePeripheralConfig config = {},
                                                       SimulatedBleFaults faults = {}) {
        auto peripheral = SimulatedBlePeripheral::make(std::move(config), engine);
        peripheral->setFaults(faults);
        central->addPeripheral(peripheral);
        peripherals.push_back(peripheral);
        return peripheral;
    }

    std::shared_ptr<VirtualPrinterEngine> engine;
    std::shared_ptr<SimulatedBleCentral> central;
    std::vector<std::shared_ptr<SimulatedBlePeripheral>> peripherals;
};

template <typename F>
std::chrono::milliseconds elapsedDuring(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// The error f raises, or none.
template <typename F>
std::optional<Prelix10Error> errorOf(F&& f) {
    try {
        f();
    } catch (const Prelix10Error& error) {
        return error;
    }
    return std::nullopt;
}

// Gaps between consecutive times, in microseconds.
inline std::vector<std::int64_t> gapsOf(const std::vector<std::chrono::steady_clock::time_point>& times) {
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < times.size(); ++i) {
        gaps.push_back(std::chrono::duration_cast<std::chrono::microseconds>(times[i] - times[i - 1]).count());
    }
    return gaps;
}

inline std::vector<std::chrono::steady_clock::time_point> timesOf(const std::vector<SimulatedBleWrite>& writes) {
    std::vector<std::chrono::steady_clock::time_point> times;
    for (const auto& w : writes) times.push_back(w.at);
    return times;
}

}  // namespace Prelix10::Testing
