// The command builder's two costly paths: a 576 x 800 photo to a 1-bit raster through the printer
// image action, and a 200-line receipt document built and written as JSON text.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/platform/ImagePixels.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;

namespace {

// A photo-like picture: smooth colour fields with fine noise, from a fixed seed.
ImagePixels photo(int width, int height) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> noise(-12, 12);
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double base =
                128 + 60 * std::sin(x / 37.0) * std::cos(y / 53.0) + 40 * std::sin((x + y) / 91.0);
            for (int c = 0; c < 3; ++c) {
                const int v = static_cast<int>(base) + c * 10 + noise(random);
                rgba.push_back(static_cast<std::uint8_t>(std::clamp(v, 0, 255)));
            }
            rgba.push_back(255);
        }
    }
    return *ImagePixels::fromRGBA(width, height, std::move(rgba));
}

void BM_PhotoToRasterThreshold(benchmark::State& state) {
    const ImagePixels image = photo(576, 800);
    const Printer::ImageParameter parameter(image, 576);
    for (auto _ : state) {
        auto prepared = PrinterBaseBuilder::prepareImage(parameter);
        benchmark::DoNotOptimize(prepared);
    }
}
BENCHMARK(BM_PhotoToRasterThreshold)->Unit(benchmark::kMillisecond);

void BM_PhotoToRasterDiffusion(benchmark::State& state) {
    const ImagePixels image = photo(576, 800);
    Printer::ImageParameter parameter(image, 576);
    parameter.setEffectDiffusion(true);
    for (auto _ : state) {
        auto prepared = PrinterBaseBuilder::prepareImage(parameter);
        benchmark::DoNotOptimize(prepared);
    }
}
BENCHMARK(BM_PhotoToRasterDiffusion)->Unit(benchmark::kMillisecond);

// A photo of another size scaled to the paper width.
void BM_PhotoScaledToRaster(benchmark::State& state) {
    const ImagePixels image = photo(1024, 1422);
    const Printer::ImageParameter parameter(image, 576);
    for (auto _ : state) {
        auto prepared = PrinterBaseBuilder::prepareImage(parameter);
        benchmark::DoNotOptimize(prepared);
    }
}
BENCHMARK(BM_PhotoScaledToRaster)->Unit(benchmark::kMillisecond);

void BM_Receipt200LinesBuiltAndWritten(benchmark::State& state) {
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i) names.push_back("Item number " + std::to_string(i) + " \"special\"");
    for (auto _ : state) {
        VelmarCommandBuilder root;
        DocumentBuilder document;
        PrinterBuilder printer;
        printer.styleAlignment(Printer::Alignment::Center)
            .styleBold(true)
            .actionPrintText("Corner Cafe\n")
            .styleBold(false);
        printer.styleAlignment(Printer::Alignment::Left);
        for (int i = 0; i < 200; ++i) {
            printer.actionPrintText(names[static_cast<std::size_t>(i)], Printer::TextParameter().setWidth(36))
                .actionPrintText(std::to_string(i) + ".99\n");
        }
        printer.actionPrintBarcode(Printer::BarcodeParameter("12345678", Printer::BarcodeSymbology::Code128))
            .actionPrintQRCode(Printer::QRCodeParameter("https://example.invalid/r/1"))
            .actionCut(Printer::CutType::Partial);
        document.addPrinter(printer);
        root.addDocument(document);
        std::string text = root.getCommands();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_Receipt200LinesBuiltAndWritten)->Unit(benchmark::kMicrosecond);

// Writing alone, of the same document built once.
void BM_Receipt200LinesWrittenOnly(benchmark::State& state) {
    VelmarCommandBuilder root;
    DocumentBuilder document;
    PrinterBuilder printer;
    for (int i = 0; i < 200; ++i) {
        printer
            .actionPrintText("Item number " + std::to_string(i) + " \"special\"",
                             Printer::TextParameter().setWidth(36))
            .actionPrintText(std::to_string(i) + ".99\n");
    }
    document.addPrinter(printer);
    root.addDocument(document);
    for (auto _ : state) {
        std::string text = root.getCommands();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_Receipt200LinesWrittenOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
