// Time from startDiscovery() to the first printer found over Bluetooth LE, with a simulated peripheral that
// advertises every 100 ms. Each round the peripheral joins the air at a different point of its interval after
// the scan started, so the time measured covers the wait for its next advertisement: it should stay within one
// advertising interval plus the delivery, never a fixed pause of the discovery.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "support/SimulatedBle.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

constexpr auto kInterval = std::chrono::milliseconds(100);

class FirstFind final : public OrvoDeviceDiscoveryManagerDelegate {
public:
    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter>) override {
        std::lock_guard lock(mutex);
        if (!found) found = std::chrono::steady_clock::now();
        changed.notify_all();
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager&) override {
        std::lock_guard lock(mutex);
        finished = true;
        changed.notify_all();
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<std::chrono::steady_clock::time_point> found;
    bool finished = false;
};

void BM_BleTimeToFirstPrinter(benchmark::State& state) {
    auto central = SimulatedBleCentral::make();
    central->setAdvertisingInterval(kInterval);
    BleBackend::install(central);
    double worst = 0;
    double total = 0;
    std::int64_t rounds = 0;
    for (auto _ : state) {
        SimulatedBlePeripheralConfig config;
        config.manufacturerData = advertisedPrintOnly(config.address, "Ginor-7 BLE");
        auto peripheral = SimulatedBlePeripheral::make(config);
        auto delegate = std::make_shared<FirstFind>();
        auto manager = std::make_shared<BluetoothLEOrvoDeviceDiscoveryManager>();
        manager->setDelegate(delegate);
        // The scan starts with nobody on the air; the printer turns up part way into the first interval.
        const auto offset = std::chrono::milliseconds((rounds * 37) % kInterval.count());
        const auto started = std::chrono::steady_clock::now();
        manager->startDiscovery();
        std::this_thread::sleep_for(offset);
        central->addPeripheral(peripheral);
        std::unique_lock lock(delegate->mutex);
        delegate->changed.wait_for(lock, std::chrono::seconds(5), [&] { return delegate->found.has_value(); });
        const double ms = delegate->found
                              ? std::chrono::duration<double, std::milli>(*delegate->found - started).count()
                              : 5000.0;
        lock.unlock();
        manager->stopDiscovery();
        lock.lock();
        delegate->changed.wait_for(lock, std::chrono::seconds(5), [&] { return delegate->finished; });
        lock.unlock();
        state.SetIterationTime(ms / 1000.0);
        worst = std::max(worst, ms);
        total += ms;
        ++rounds;
        // A new central per round would reset the air; a fresh peripheral set keeps the rounds independent.
        central = SimulatedBleCentral::make();
        central->setAdvertisingInterval(kInterval);
        BleBackend::install(central);
    }
    state.counters["mean_ms"] = rounds ? total / static_cast<double>(rounds) : 0;
    state.counters["worst_ms"] = worst;
    state.counters["interval_ms"] = static_cast<double>(kInterval.count());
    BleBackend::install(nullptr);
    CentralManagerControl::shared().centralManager();
}
BENCHMARK(BM_BleTimeToFirstPrinter)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
