// Cost of deeply nested levels that inherit long tab-stop and CJK lists: opening and closing 999
// levels on the printer builders, and compiling the whole document (about 436 KB: 200,000 stops
// under 999 nested levels). The cost per level should not depend on the length of the lists.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {

constexpr int kLevels = 999;

// Arguments: the list length, and 0 for printer levels or 1 for page-mode levels.
void NestedLevelsOpenAndClose(benchmark::State& state) {
    const auto length = static_cast<std::size_t>(state.range(0));
    const bool pageMode = state.range(1) != 0;
    ByteBuffer buffer;
    auto root = BuilderFactory("Kestrin", &buffer, PrinterModel::Harlo599KZ).create();
    Builder* printer = root->getPrinterBuilder();
    printer->notifyRank(1);
    printer->appendTextDecorationHorizontalTabPositions(std::vector<int>(length, 1));
    printer->appendTextDecorationCjkCharacterPriority(std::vector<Encode>(length, Encode::Japanese));
    Builder* nested = pageMode ? static_cast<Builder*>(root->getPrinterPageModeBuilder()) : printer;
    for (auto _ : state) {
        nested->notifyRank(1 + kLevels);
        nested->notifyRank(1);
        benchmark::DoNotOptimize(buffer.getDataSize());
    }
    state.counters["levels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLevels, benchmark::Counter::kIsRate);
}
BENCHMARK(NestedLevelsOpenAndClose)
    ->ArgsProduct({{1000, 200000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

std::string nestedDocument(const char* category) {
    std::string stops;
    for (int i = 0; i < 200000; ++i) stops += i ? ",1" : "1";
    std::string open, close;
    for (int i = 0; i < kLevels; ++i) {
        open += std::string(R"({"category":")") + category + R"(","contents":[)";
        close += "]}";
    }
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)"
           R"({"method":"Style.HorizontalTabPositions","parameter":{"positions":[)" +
           stops + "]}}," + open + R"({"method":"Action.Print.Text","parameter":{"content":"a"}})" + close +
           "]}]}]}";
}

// Argument: 0 for printer levels, 1 for page-mode levels.
void NestedLevelDocumentCompile(benchmark::State& state) {
    const std::string document = nestedDocument(state.range(0) != 0 ? "PageMode" : "Printer");
    for (auto _ : state) {
        const auto bytes = Prelix10::VelmarCommandParser().parse(document, std::nullopt,
                                                                 Prelix10::OrvoPrinterModel::harlo599KZ,
                                                                 Prelix10::OrvoPrinterEmulation::kestrin);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(NestedLevelDocumentCompile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
