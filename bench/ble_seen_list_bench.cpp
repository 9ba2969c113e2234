// The cost of one advertisement to the shared central control while a scan runs, with the scan's seen-list
// holding a given number of peripherals (up to its capacity, where each new one pushes the oldest out). It
// runs on the stack's single event thread, which also carries write replies, so it must not grow with the
// list: the time per advertisement should be flat across the arguments.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "support/SimulatedBle.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

void BM_AdvertisementWithSeenPeripherals(benchmark::State& state) {
    auto central = SimulatedBleCentral::make();
    BleBackend::install(central);
    auto& control = CentralManagerControl::shared();
    int scanner = 0;
    control.startScan(&scanner,
                      [](const std::shared_ptr<BlePeripheral>&, const BleAdvertisementData&, int) {});
    // The peripherals are never added to the simulated air: the advertisements come from here alone.
    const auto seen = static_cast<std::size_t>(state.range(0));
    std::vector<std::shared_ptr<BlePeripheral>> peripherals;
    peripherals.reserve(seen + 1024);
    for (std::size_t i = 0; i < seen + 1024; ++i) peripherals.push_back(SimulatedBlePeripheral::make({}));
    BleAdvertisementData advertisement;
    advertisement.localName = "Ginor-7 BLE";
    advertisement.manufacturerData = BleBytes(24, 0x11);
    for (std::size_t i = 0; i < seen; ++i) control.didDiscover(peripherals[i], advertisement, -50);
    std::size_t next = 0;
    for (auto _ : state) {
        // Alternately one already seen and one new (which, at capacity, pushes the oldest out).
        control.didDiscover(peripherals[next % (seen + 1024)], advertisement, -60);
        ++next;
    }
    state.SetItemsProcessed(state.iterations());
    control.stopScan(&scanner);
    BleBackend::install(nullptr);
    control.centralManager();
}

}  // namespace

BENCHMARK(BM_AdvertisementWithSeenPeripherals)
    ->Arg(16)
    ->Arg(4096)
    ->Arg(CentralManagerControl::kDiscoveredCapacity);

BENCHMARK_MAIN();
