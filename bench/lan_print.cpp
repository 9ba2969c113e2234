// 100 consecutive small jobs through the LAN printer port and the maker's printer control, against the
// virtual printer on loopback, in each status mode, and the same through the ESC/POS LAN printer port and
// the ESC/POS printer control. Reports jobs per second and the share of the time spent in the fixed
// polling sleeps of the library.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "prelix10/control/EscPosPrinterControl.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "support/Hex.hpp"
#include "support/VirtualPrinterEngine.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "prelix10/transport/EscPosLANPrinterPort.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "prelix10/transport/PollingSleep.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

constexpr int kJobs = 100;
const ByteBlock kJob = bytesFromHex("1B 40 48 65 6C 6C 6F 2C 20 70 72 69 6E 74 65 72 0A 1B 64 03");

// Times kJobs jobs per iteration through `control` and reports the rates and where the time went.
template <typename Control>
void timeJobs(benchmark::State& state, Control& control, VirtualPrinterEngine& engine, bool withReplyWaits) {
    double seconds = 0;
    double slept = 0;
    double woken = 0;
    std::int64_t jobs = 0;
    for (auto _ : state) {
        PollingSleep::reset();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kJobs; ++i) control.printLegacy(kJob, 10000);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        slept += static_cast<double>(PollingSleep::fixedNanoseconds()) / 1e9;
        woken += static_cast<double>(PollingSleep::wokenNanoseconds()) / 1e9;
        jobs += kJobs;
    }
    state.counters["jobs_per_s"] = static_cast<double>(jobs) / seconds;
    state.counters["ms_per_job"] = 1000.0 * seconds / static_cast<double>(jobs);
    state.counters["fixed_sleep_share"] = slept / seconds;
    if (withReplyWaits) state.counters["reply_wait_share"] = woken / seconds;
    state.counters["printer_status_reads"] = static_cast<double>(engine.statusRequestCount()) / static_cast<double>(jobs);
}

// mode: 0 status port, 1 status on the print connection, 2 automatic status
void BM_HundredJobs(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    VirtualPrinterConfig config;
    config.automaticStatus = mode == 2;
    VirtualPrinterEngine engine(config);
    VirtualPrinterServer server(engine);
    NetworkPortSettings::setPorts(LanPortNumbers{server.dataPort(), server.statusPort(), 22222});
    auto tcp = std::make_shared<TCPPort>("127.0.0.1", server.dataPort());
    tcp->setNicInformation(NetworkCardRecord{"127.0.0.1", "00:11:62:AA:BB:CC",
                                             mode == 2 ? "Ubrek-EF91/92" : "IFBD-HE07"});
    auto port = std::make_shared<OrvoLANPrinterPort>(tcp, mode == 1);
    port->setEmulation(OrvoPrinterEmulation::kestrin);
    port->open(5000);
    OrvoPrinterControl control(port, false, false, false);
    timeJobs(state, control, engine, true);
    port->close();
    NetworkPortSettings::setPorts(LanPortNumbers{});
}

void BM_HundredEscPosJobs(benchmark::State& state) {
    VirtualPrinterConfig config;
    config.dialect = PrinterDialect::escPos;
    config.replyFraming = ReplyFraming::plain;
    VirtualPrinterEngine engine(config);
    VirtualPrinterServer server(engine);
    NetworkPortSettings::setPorts(LanPortNumbers{server.dataPort(), server.statusPort(), 22222});
    auto tcp = std::make_shared<TCPPort>("127.0.0.1", server.dataPort());
    tcp->setNicInformation(NetworkCardRecord{"127.0.0.1", "00:11:62:AA:BB:CC", "IFBD-HE07"});
    auto port = std::make_shared<EscPosLANPrinterPort>(tcp);
    port->setEmulation(OrvoPrinterEmulation::escPos);
    port->open(5000);
    port->initialize(5000);
    EscPosPrinterControl control(port, false, false, false);
    timeJobs(state, control, engine, false);
    port->close();
    NetworkPortSettings::setPorts(LanPortNumbers{});
}

}  // namespace

BENCHMARK(BM_HundredJobs)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HundredEscPosJobs)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
