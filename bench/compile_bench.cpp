// The compile path against the parse of the same text: receipts of 40 and 200 item lines, a
// document holding a 576 x 800 1-bit picture, and the whole road from grey pixels to printer
// bytes. Every case also times nlohmann::json::parse of its document in the same run, reported
// as the counter "parse_us"; the counter "ratio" is the compile time over the parse time, which
// stays steady on a busy machine where the absolute figures do not.
//
// The compile cases also report the peak heap of one compile, counted by the global operator new of
// this program: "heap_peak" is the most bytes held at once above what was held before the call, and
// "heap_over" is that peak less twice the document and the output.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "prelix10/builder/PrinterBaseBuilder.hpp"
#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/platform/ImagePixels.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;

namespace {

// Bytes held through operator new, and the most held at once since the last reset.
std::atomic<std::int64_t> heapHeld{0};
std::atomic<std::int64_t> heapPeak{0};

void* heapTake(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    const auto held = heapHeld.fetch_add(static_cast<std::int64_t>(malloc_usable_size(block))) +
                      static_cast<std::int64_t>(malloc_usable_size(block));
    auto peak = heapPeak.load();
    while (held > peak && !heapPeak.compare_exchange_weak(peak, held)) {
    }
    return block;
}

void heapGive(void* block) noexcept {
    if (block == nullptr) return;
    heapHeld.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(block)));
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return heapTake(size); }
void* operator new[](std::size_t size) { return heapTake(size); }
void operator delete(void* block) noexcept { heapGive(block); }
void operator delete[](void* block) noexcept { heapGive(block); }
void operator delete(void* block, std::size_t) noexcept { heapGive(block); }
void operator delete[](void* block, std::size_t) noexcept { heapGive(block); }

namespace {

constexpr int kWidth = 576;
constexpr int kHeight = 800;

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

std::string receipt(int items) {
    VelmarCommandBuilder root;
    DocumentBuilder document;
    PrinterBuilder printer;
    printer.styleAlignment(Printer::Alignment::Center)
        .styleBold(true)
        .styleMagnification(MagnificationParameter(2, 2))
        .actionPrintText("Corner Cafe\n")
        .styleMagnification(MagnificationParameter(1, 1))
        .styleBold(false)
        .styleAlignment(Printer::Alignment::Left);
    for (int i = 0; i < items; ++i) {
        printer.actionPrintText("Item number " + std::to_string(i) + " \"special\"",
                                Printer::TextParameter().setWidth(36))
            .actionPrintText(std::to_string(i) + ".99\n");
    }
    printer.styleUnderLine(true)
        .actionPrintText("Total", Printer::TextParameter().setWidth(36))
        .actionPrintText("1234.56\n")
        .styleUnderLine(false)
        .actionPrintBarcode(Printer::BarcodeParameter("12345678", Printer::BarcodeSymbology::Code128))
        .actionPrintQRCode(Printer::QRCodeParameter("https://example.invalid/r/1"))
        .actionCut(Printer::CutType::Partial);
    document.addPrinter(printer);
    root.addDocument(document);
    return root.getCommands();
}

// A smooth grey picture with fine noise, from a fixed seed.
ImagePixels greyPicture() {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(kWidth) * kHeight * 4);
    std::uint32_t seed = 42;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 24) % 25) - 12;
            const int v = std::clamp(128 + (x * 97 / kWidth) - (y * 61 / kHeight) + noise, 0, 255);
            const auto g = static_cast<std::uint8_t>(v);
            rgba.insert(rgba.end(), {g, g, g, 255});
        }
    }
    return *ImagePixels::fromRGBA(kWidth, kHeight, std::move(rgba));
}

std::string pictureDocument(bool diffusion) {
    Printer::ImageParameter parameter(greyPicture(), kWidth);
    parameter.setEffectDiffusion(diffusion);
    VelmarCommandBuilder root;
    DocumentBuilder document;
    PrinterBuilder printer;
    printer.actionPrintImage(parameter).actionCut(Printer::CutType::Partial);
    document.addPrinter(printer);
    root.addDocument(document);
    return root.getCommands();
}

// Times one parse of the text between the timed iterations, keeping the fastest.
struct ParseFloor {
    double best = 1e300;
    void sample(const std::string& text) {
        const auto start = Clock::now();
        auto value = nlohmann::json::parse(text);
        benchmark::DoNotOptimize(value);
        best = std::min(best, microseconds(Clock::now() - start));
    }
};

void report(benchmark::State& state, double bestRun, const ParseFloor& floor) {
    state.counters["best_us"] = bestRun;
    state.counters["parse_us"] = floor.best;
    state.counters["ratio"] = bestRun / floor.best;
}

// The peak heap of one compile of the document, above what was held before it.
void reportPeakHeap(benchmark::State& state, const std::string& document) {
    VelmarCommandParser parser;
    const auto before = heapHeld.load();
    heapPeak.store(before);
    const auto out = parser.parse(document, std::nullopt, OrvoPrinterModel::harlo599KZ,
                                  OrvoPrinterEmulation::escPos);
    const auto peak = heapPeak.load() - before;
    state.counters["heap_peak"] = static_cast<double>(peak);
    heapPeak.store(heapHeld.load());
    {
        const auto held = heapHeld.load();
        auto tree = nlohmann::json::parse(document);
        benchmark::DoNotOptimize(tree);
        state.counters["heap_tree"] = static_cast<double>(heapPeak.load() - held);
    }
    state.counters["doc_bytes"] = static_cast<double>(document.size());
    state.counters["out_bytes"] = static_cast<double>(out.size());
    state.counters["heap_over"] =
        static_cast<double>(peak) - 2.0 * static_cast<double>(document.size()) - static_cast<double>(out.size());
}

void compileDocument(benchmark::State& state, const std::string& document) {
    reportPeakHeap(state, document);
    VelmarCommandParser parser;
    ParseFloor floor;
    double best = 1e300;
    for (auto _ : state) {
        const auto start = Clock::now();
        const auto out = parser.parse(document, std::nullopt, OrvoPrinterModel::harlo599KZ,
                                      OrvoPrinterEmulation::escPos);
        benchmark::DoNotOptimize(out.data());
        best = std::min(best, microseconds(Clock::now() - start));
        state.PauseTiming();
        floor.sample(document);
        state.ResumeTiming();
    }
    report(state, best, floor);
}

void BM_CompileEmpty(benchmark::State& state) {
    static const std::string document = R"({"title":"VelmarCommand","version":"1.0.0","contents":[]})";
    compileDocument(state, document);
}
BENCHMARK(BM_CompileEmpty)->Unit(benchmark::kMicrosecond);

void BM_CompileReceipt40(benchmark::State& state) {
    static const std::string document = receipt(40);
    compileDocument(state, document);
}
BENCHMARK(BM_CompileReceipt40)->Unit(benchmark::kMicrosecond);

void BM_CompileReceipt200(benchmark::State& state) {
    static const std::string document = receipt(200);
    compileDocument(state, document);
}
BENCHMARK(BM_CompileReceipt200)->Unit(benchmark::kMicrosecond);

void BM_CompilePicture(benchmark::State& state) {
    static const std::string document = pictureDocument(false);
    compileDocument(state, document);
}
BENCHMARK(BM_CompilePicture)->Unit(benchmark::kMicrosecond);

// Grey pixels to the 1-bit raster alone.
void rasterOnly(benchmark::State& state, bool diffusion) {
    Printer::ImageParameter parameter(greyPicture(), kWidth);
    parameter.setEffectDiffusion(diffusion);
    double best = 1e300;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto prepared = PrinterBaseBuilder::prepareImage(parameter);
        benchmark::DoNotOptimize(prepared);
        best = std::min(best, microseconds(Clock::now() - start));
    }
    state.counters["best_us"] = best;
}

void BM_GreyToRasterThreshold(benchmark::State& state) {
    rasterOnly(state, false);
}
BENCHMARK(BM_GreyToRasterThreshold)->Unit(benchmark::kMicrosecond);

void BM_GreyToRasterDiffusion(benchmark::State& state) {
    rasterOnly(state, true);
}
BENCHMARK(BM_GreyToRasterDiffusion)->Unit(benchmark::kMicrosecond);

// Grey pixels to printer bytes: the builder, the document text, and the compile.
void pipeline(benchmark::State& state, bool diffusion) {
    const ImagePixels picture = greyPicture();
    const std::string sample = pictureDocument(diffusion);
    VelmarCommandParser parser;
    ParseFloor floor;
    double best = 1e300;
    for (auto _ : state) {
        const auto start = Clock::now();
        Printer::ImageParameter parameter(picture, kWidth);
        parameter.setEffectDiffusion(diffusion);
        VelmarCommandBuilder root;
        DocumentBuilder document;
        PrinterBuilder printer;
        printer.actionPrintImage(parameter).actionCut(Printer::CutType::Partial);
        document.addPrinter(printer);
        root.addDocument(document);
        const auto out = parser.parse(root.getCommands(), std::nullopt, OrvoPrinterModel::harlo599KZ,
                                      OrvoPrinterEmulation::escPos);
        benchmark::DoNotOptimize(out.data());
        best = std::min(best, microseconds(Clock::now() - start));
        state.PauseTiming();
        floor.sample(sample);
        state.ResumeTiming();
    }
    report(state, best, floor);
}

void BM_PipelineThreshold(benchmark::State& state) {
    pipeline(state, false);
}
BENCHMARK(BM_PipelineThreshold)->Unit(benchmark::kMicrosecond);

void BM_PipelineDiffusion(benchmark::State& state) {
    pipeline(state, true);
}
BENCHMARK(BM_PipelineDiffusion)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
