// QR and PDF417 generators side by side with libqrencode and zint on the same payloads and settings.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "prelix10/command/ORVOPDF417.hpp"
#include "prelix10/command/ORVOQRCode.hpp"
#include "prelix10/command/printer/Pdf417.hpp"

#ifdef PRELIX10_HAVE_QRENCODE
#include <qrencode.h>
#endif
#ifdef PRELIX10_HAVE_ZINT
#include <zint.h>
#endif

namespace {

// A receipt-like payload: text, numbers and punctuation.
std::string payload(size_t length) {
    const std::string pattern = "Order 20261210-0042 Total $12.50 Thank you! https://example.invalid/r?id=";
    std::string s;
    while (s.size() < length) s += pattern;
    s.resize(length);
    return s;
}

void ourQr(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    auto info = std::make_unique<ORVOQRCodeInformationStruct>();
    for (auto _ : state) {
        ORVOQRCodeInitialize(info.get());
        info->level = 1;
        std::memcpy(info->input, data.data(), data.size());
        info->inputLength = static_cast<uint16_t>(data.size());
        info->segmentCount = 256;
        benchmark::DoNotOptimize(ORVOQRCodeGenerate(info.get()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ourQr)->Name("QR/prelix10")->Arg(100)->Arg(1000);

void setUpPdf417(ORVOPDF417InformationStruct* info, const std::string& data) {
    ORVOPDF417Initialize(info);
    info->sizeMode = 0;
    info->requestedColumns = 10;
    info->requestedEccLevel = 4;
    std::memcpy(info->input, data.data(), data.size());
    info->inputLength = static_cast<uint16_t>(data.size());
}

// The whole symbol: codewords and the bar pattern, as zint's encode below yields its module matrix.
void ourPdf417(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    auto info = std::make_unique<ORVOPDF417InformationStruct>();
    for (auto _ : state) {
        setUpPdf417(info.get(), data);
        if (ORVOPDF417Generate(info.get()) != 1) state.SkipWithError("no symbol");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ourPdf417)->Name("PDF417/prelix10")->Arg(100)->Arg(1000);

void ourPdf417Codewords(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    auto info = std::make_unique<ORVOPDF417InformationStruct>();
    for (auto _ : state) {
        setUpPdf417(info.get(), data);
        benchmark::DoNotOptimize(ORVOPDF417GenerateCodewords(info.get()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ourPdf417Codewords)->Name("PDF417/prelix10_codewords")->Arg(100)->Arg(1000);

// The raster-only printer's command: the symbol at module 2, sent as raster rows into a fresh buffer.
void ourPdf417Raster(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        PrinterCommandBuilder::ByteBuffer buffer;
        PrinterCommandBuilder::Printer::PrintSettingsInformation settings;
        PrinterCommandBuilder::Printer::Pdf417::orvoGraphic(
            &buffer, data, 0, 10, PrinterCommandBuilder::Printer::Pdf417EccLevel::Ecc4, 2, 3, &settings);
        if (buffer.getDataSize() == 0) state.SkipWithError("no raster");
    }
}
BENCHMARK(ourPdf417Raster)->Name("PDF417/prelix10_raster_rows")->Arg(100)->Arg(1000);

#ifdef PRELIX10_HAVE_QRENCODE
void libqrencodeQr(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        QRcode* code = QRcode_encodeString(data.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
        benchmark::DoNotOptimize(code);
        QRcode_free(code);
    }
}
BENCHMARK(libqrencodeQr)->Name("QR/libqrencode")->Arg(100)->Arg(1000);
#endif

#ifdef PRELIX10_HAVE_ZINT
void zintPdf417(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = BARCODE_PDF417;
        symbol->option_1 = 4;
        symbol->option_2 = 10;
        benchmark::DoNotOptimize(
            ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size())));
        ZBarcode_Delete(symbol);
    }
}
BENCHMARK(zintPdf417)->Name("PDF417/zint")->Arg(100)->Arg(1000);

void zintQr(benchmark::State& state) {
    const std::string data = payload(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        zint_symbol* symbol = ZBarcode_Create();
        symbol->symbology = BARCODE_QRCODE;
        symbol->option_1 = 2;  // level M
        benchmark::DoNotOptimize(
            ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size())));
        ZBarcode_Delete(symbol);
    }
}
BENCHMARK(zintQr)->Name("QR/zint")->Arg(100)->Arg(1000);
#endif

}  // namespace

BENCHMARK_MAIN();
