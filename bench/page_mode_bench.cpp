// Throughput of page-mode drawing on the page printer emulation: a 576 x 2000-dot picture placed
// in a page-mode area (sent as 24-row column bands), and a page of ruled lines and rectangles,
// reported in bytes of output per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/ByteBuffer.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {

constexpr int kWidth = 576;
constexpr int kHeight = 2000;

// Base64 of a byte string whose length is a multiple of 3 (so without padding).
std::string base64(const std::vector<std::uint8_t>& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        for (int k = 3; k >= 0; --k) out += alphabet[(v >> (6 * k)) & 63];
    }
    return out;
}

const std::string& pictureSource() {
    static const std::string source = [] {
        std::vector<std::uint8_t> raster(static_cast<std::size_t>(kWidth / 8) * kHeight);
        std::uint32_t seed = 12345;
        for (auto& byte : raster) {
            seed = seed * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(seed >> 16);
        }
        return base64(raster);
    }();
    return source;
}

struct Page {
    Page() : root(BuilderFactory("Kestrin", &buffer, PrinterModel::Harlo599KZ).create()) {
        root->getPrinterBuilder()->notifyRank(1);
        pageMode()->notifyRank(2);
        pageMode()->appendArea(0, 0, 72, 300);
    }
    PageModeBuilder* pageMode() { return root->getPrinterPageModeBuilder(); }
    ByteBuffer buffer;
    std::unique_ptr<RootBuilder> root;
};

void PageModePicture(benchmark::State& state) {
    const std::string& source = pictureSource();
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        Page page;
        page.pageMode()->appendImage(source, 0, 0, kWidth, kHeight);
        bytes += page.buffer.getDataSize();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(PageModePicture)->Unit(benchmark::kMillisecond);

void PageModeLinesAndRectangles(benchmark::State& state) {
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        Page page;
        for (int i = 0; i < 20; ++i) {
            page.pageMode()->appendRuledLine(0, i * 10.0, 70, i * 10.0, 0.5, LineStyle::Double);
            page.pageMode()->appendRectangle(2, i * 10.0 + 2, 60, 6, 0.25, LineStyle::Single, true, 2);
        }
        bytes += page.buffer.getDataSize();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(PageModeLinesAndRectangles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
