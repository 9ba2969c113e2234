// What the caller's thread pays for handing the printer object a large block (print(raw:) and
// write(data:timeout:)), with logging off and on, and what a log line's bounded view of a block costs.
// The printer stays closed, so each queued body only reports "Not opened.".
#include <benchmark/benchmark.h>

#include <future>
#include <memory>

#include "prelix10/core/Log.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

using namespace Prelix10;

namespace {

// state.range(0): block size in bytes; state.range(1): logging on (1) or off (0).
void BM_PrintRawCall(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const bool logging = state.range(1) != 0;
    auto printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false));
    const ByteBlock block(size, 0x41);
    auto previousSink = OrvoLoggerWrapper::sink();
    OrvoLoggerWrapper::setSink(nullptr);  // lines are built, then dropped
    Prelix10Logger::shared().setIsLogging(logging);
    for (auto _ : state) {
        state.PauseTiming();
        ByteBlock copy = block;  // the call takes its block by value; the copy is the caller's, not ours
        state.ResumeTiming();
        printer->print(std::move(copy), [](std::optional<Prelix10Error>) {});
    }
    Prelix10Logger::shared().setIsLogging(false);
    printer->close().get();  // the queued bodies have run
    OrvoLoggerWrapper::setSink(previousSink);
}
BENCHMARK(BM_PrintRawCall)
    ->Args({6 * 1024 * 1024, 0})
    ->Args({6 * 1024 * 1024, 1})
    ->Args({1024, 0})
    ->Unit(benchmark::kMicrosecond);

void BM_DescribeBytes(benchmark::State& state) {
    const ByteBlock block(static_cast<std::size_t>(state.range(0)), 0x41);
    for (auto _ : state) benchmark::DoNotOptimize(Util::describeBytes(block));
}
BENCHMARK(BM_DescribeBytes)->Arg(16)->Arg(6 * 1024 * 1024);

}  // namespace

BENCHMARK_MAIN();
