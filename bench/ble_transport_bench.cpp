// A 64 KiB job written through the Bluetooth LE print port to a simulated peripheral with a virtual printer
// behind it, at MTU 20, 185 and 512, with writes without response. The chunk size and the 10 ms pause after
// each chunk bound the rate at chunk size x 100 bytes per second; the counters give the rate reached, its
// share of that bound, and the gaps between chunks as the peripheral saw them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/PollingSleep.hpp"
#include "support/SimulatedBle.hpp"
#include "support/VirtualPrinterEngine.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

constexpr std::size_t kJobBytes = 64 * 1024;

void BM_BleJob(benchmark::State& state) {
    const int mtu = static_cast<int>(state.range(0));
    VirtualPrinterConfig printerConfig;
    printerConfig.replyFraming = ReplyFraming::plain;
    auto engine = std::make_shared<VirtualPrinterEngine>(printerConfig);
    auto central = SimulatedBleCentral::make();
    central->setAdvertisingInterval(std::chrono::milliseconds(5));
    BleBackend::install(central);
    SimulatedBlePeripheralConfig config;
    config.mtuWithResponse = mtu;
    config.mtuWithoutResponse = mtu;
    auto peripheral = SimulatedBlePeripheral::make(config, engine);
    central->addPeripheral(peripheral);

    ByteBlock job(kJobBytes);
    for (std::size_t i = 0; i < job.size(); ++i) job[i] = static_cast<std::uint8_t>(0x20 + i % 0x5F);

    auto port = std::make_shared<BluetoothLEPrintPort>(config.address);
    port->open(5000);
    port->setWriteType(BleWriteType::withoutResponse);

    double seconds = 0;
    double slept = 0;
    std::size_t chunks = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        PollingSleep::reset();
        const std::size_t before = peripheral->writes().size();
        const auto start = std::chrono::steady_clock::now();
        port->write(job, 600000);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        slept += static_cast<double>(PollingSleep::fixedNanoseconds()) / 1e9;
        chunks += peripheral->writes().size() - before;
        bytes += static_cast<std::int64_t>(job.size());
    }
    const auto writes = peripheral->writes();
    double minGap = 1e9;
    double maxGap = 0;
    for (std::size_t i = 1; i < writes.size(); ++i) {
        const double gap = std::chrono::duration<double, std::milli>(writes[i].at - writes[i - 1].at).count();
        minGap = std::min(minGap, gap);
        maxGap = std::max(maxGap, gap);
    }
    port->close();
    port.reset();
    BleBackend::install(nullptr);
    CentralManagerControl::shared().centralManager();

    const double allowed = static_cast<double>(mtu) * 1000.0 / static_cast<double>(BluetoothLEPort::kChunkPause.count());
    const double rate = static_cast<double>(bytes) / seconds;
    state.counters["bytes_per_s"] = rate;
    state.counters["allowed_bytes_per_s"] = allowed;
    state.counters["share_of_allowed"] = rate / allowed;
    state.counters["mean_pause_ms"] = chunks ? 1000.0 * slept / static_cast<double>(chunks) : 0.0;
    state.counters["min_gap_ms"] = minGap;
    state.counters["max_gap_ms"] = maxGap;
    state.counters["chunks"] = static_cast<double>(chunks);
}

}  // namespace

BENCHMARK(BM_BleJob)->Arg(20)->Arg(185)->Arg(512)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
