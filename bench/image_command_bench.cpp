// Throughput of the picture commands: a document holding one 576 x 2000-dot receipt-width picture
// compiled for each emulation, reported in bytes of output per second. A second set runs the
// printer builder alone, without the document walk and the compile call's buffer handling.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"

namespace {

constexpr int kWidth = 576;
constexpr int kHeight = 2000;

std::string base64(const std::vector<std::uint8_t>& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        for (int k = 3; k >= 0; --k) out += alphabet[(v >> (6 * k)) & 63];
    }
    if (i < bytes.size()) {
        const unsigned v = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// A picture with what receipts carry: solid areas, fine detail, and blank gaps between them.
const std::string& pictureSource() {
    static const std::string source = [] {
        const int byteWidth = kWidth / 8;
        std::vector<std::uint8_t> raster(static_cast<std::size_t>(byteWidth) * kHeight, 0);
        std::uint32_t seed = 12345;
        for (int row = 0; row < kHeight; ++row) {
            if ((row / 100) % 5 == 4) continue;  // a blank gap every 500 rows
            for (int b = 0; b < byteWidth; ++b) {
                std::uint8_t value = 0;
                if (b < byteWidth / 3) {
                    value = 0xFF;
                } else if (b < 2 * byteWidth / 3) {
                    value = ((row + b) % 8 < 4) ? 0xF0 : 0x0F;
                } else {
                    seed = seed * 1103515245u + 12345u;
                    value = static_cast<std::uint8_t>(seed >> 24);
                }
                raster[static_cast<std::size_t>(row) * byteWidth + b] = value;
            }
        }
        return base64(raster);
    }();
    return source;
}

const std::string& pictureDocument() {
    static const std::string document =
        R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[{"method":"Action.Print.Image","parameter":{"source":")" +
        pictureSource() + R"(","width":)" + std::to_string(kWidth) + R"(,"height":)" +
        std::to_string(kHeight) + "}}]}]}]}";
    return document;
}

void compilePicture(benchmark::State& state, Prelix10::OrvoPrinterEmulation emulation) {
    const std::string& document = pictureDocument();
    Prelix10::VelmarCommandParser parser;
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        const auto out =
            parser.parse(document, std::nullopt, Prelix10::OrvoPrinterModel::harlo599KZ, emulation);
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void buildPicture(benchmark::State& state, const char* emulation) {
    const std::string& source = pictureSource();
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        PrinterCommandBuilder::ByteBuffer buffer;
        auto root = PrinterCommandBuilder::BuilderFactory(emulation, &buffer,
                                                          PrinterCommandBuilder::PrinterModel::Harlo599KZ)
                        .create();
        auto* printer = root->getPrinterBuilder();
        printer->notifyRank(1);
        printer->appendImage(source, kWidth, kHeight);
        printer->notifyRank(0);
        bytes += buffer.getDataSize();
        benchmark::DoNotOptimize(buffer.getDataSize());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

}  // namespace

using Prelix10::OrvoPrinterEmulation;
BENCHMARK_CAPTURE(compilePicture, Kestrin, OrvoPrinterEmulation::kestrin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compilePicture, OrvoLine, OrvoPrinterEmulation::orvoLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compilePicture, OrvoGraphic, OrvoPrinterEmulation::orvoGraphic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compilePicture, OrvoDot, OrvoPrinterEmulation::orvoDot)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compilePicture, EscPos, OrvoPrinterEmulation::escPos)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compilePicture, EscPosMobile, OrvoPrinterEmulation::escPosMobile)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(buildPicture, Kestrin, "Kestrin")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildPicture, OrvoGraphic, "OrvoGraphic")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildPicture, OrvoDot, "OrvoDot")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildPicture, EscPos, "EscPos")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildPicture, EscPosMobile, "EscPosMobile")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
