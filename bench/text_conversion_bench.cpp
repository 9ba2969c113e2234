// Converts 1 MB of mixed Latin and CJK text; the byte rate is the figure to watch.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "prelix10/command/StrConverter.hpp"

using namespace VelmarCommandParser;

namespace {

const std::string& mixedText() {
    static const std::string text = [] {
        const std::string line =
            "Receipt No. 00123  Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\xC3\xA9 3,50 \xE2\x82\xAC\n"
            "\xE3\x81\x8A\xE8\xB2\xB7\xE3\x81\x84\xE4\xB8\x8A\xE3\x81\x92\xE3\x81\x82\xE3\x82\x8A\xE3\x81\x8C"
            "\xE3\x81\xA8\xE3\x81\x86\xE3\x81\x94\xE3\x81\x96\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x99 "
            "\xE5\x90\x88\xE8\xAE\xA1 \xE4\xB8\xAD\xE6\x96\x87 "
            "\xEA\xB0\x90\xEC\x82\xAC\xED\x95\xA9\xEB\x8B\x88"
            "\xEB\x8B\xA4 Total 12.00\n";
        std::string result;
        while (result.size() < 1024 * 1024) result += line;
        return result;
    }();
    return text;
}

void BM_FromUtf8toUtf8DefaultPriority(benchmark::State& state) {
    const std::string& text = mixedText();
    const std::vector<Encode> encodes = {Encode::SimplifiedChinese, Encode::TraditionalChinese,
                                         Encode::Japanese, Encode::Korean, Encode::CodePage};
    std::vector<CharStruct> out;
    for (auto _ : state) {
        out.clear();
        StrConverter::fromUtf8toUtf8(text, encodes, out, kEmulationCodeUtf8,
                                     PrinterCommandBuilder::Printer::AmbiguousCharacterWidthType::Half);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FromUtf8toUtf8DefaultPriority)->Unit(benchmark::kMillisecond);

void BM_FromUtf8toPrinterJapanese(benchmark::State& state) {
    const std::string& text = mixedText();
    std::vector<CharStruct> out;
    for (auto _ : state) {
        out.clear();
        StrConverter::fromUtf8toPrinter(text, Encode::Japanese, out, kEmulationCodeEscpos);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FromUtf8toPrinterJapanese)->Unit(benchmark::kMillisecond);

void BM_FromUtf8toPrinterCodePageMobile(benchmark::State& state) {
    const std::string& text = mixedText();
    std::vector<CharStruct> out;
    for (auto _ : state) {
        out.clear();
        StrConverter::fromUtf8toPrinter(text, Encode::CodePage, out, kEmulationCodeEscposMobile);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FromUtf8toPrinterCodePageMobile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
