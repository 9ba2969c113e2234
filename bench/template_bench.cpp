// Expansion and compilation of a 500-line receipt template: 50 fixed lines with specifiers around an
// item block repeated for 450 items.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>

#include "prelix10/compiler/TemplatePrintParser.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

namespace {

constexpr int kFixedLines = 50;
constexpr int kItems = 450;

std::string text(const std::string& content) {
    return R"({"method":"Action.Print.Text","parameter":{"content":")" + content + R"("}})";
}

std::string receiptTemplate() {
    std::string header;
    for (int i = 0; i < kFixedLines / 2; ++i) {
        header += text("${shop.name} line " + std::to_string(i) + " ${shop.phone} ${date}\\n") + ",";
    }
    std::string footer;
    for (int i = 0; i < kFixedLines / 2; ++i) {
        footer += ',';
        footer += text("Subtotal ${totals.sub%.2f} tax ${totals.tax%.2f} #" + std::to_string(i) + "\\n");
    }
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)"
           R"({"category":"Printer","contents":[{"method":"Style.Alignment","parameter":{"position":"Center"}},)" +
           header +
           R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
           text("${items.name}  x${items.qty%3d}  ${items.price%8.2f}\\n") + "]}" + footer +
           R"(,{"method":"Action.Cut","parameter":{"type":"Partial"}}]}]}]})";
}

std::string receiptFieldData() {
    std::string items;
    for (int i = 0; i < kItems; ++i) {
        items += std::string(i ? "," : "") + R"({"name":"Article number )" + std::to_string(i) +
                 R"(","qty":)" + std::to_string(i % 9 + 1) + R"(,"price":)" + std::to_string(i) + ".95}";
    }
    return R"({"shop":{"name":"Corner Shop","phone":"0123 456"},"date":"2026-12-10","totals":{"sub":1234567.89,"tax":98.7},"items":[)" +
           items + "]}";
}

const std::string& templateText() {
    static const std::string value = receiptTemplate();
    return value;
}

const std::string& fieldData() {
    static const std::string value = receiptFieldData();
    return value;
}

void BM_ExpandReceiptTemplate(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) {
        std::int32_t typeId = -1, code = -1, messageId = -1;
        std::string expanded =
            TemplatePrint::TemplatePrintParser().parse(templateText(), fieldData(), typeId, code, messageId);
        if (typeId != -1) state.SkipWithError("expansion failed");
        size = expanded.size();
        benchmark::DoNotOptimize(expanded);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ExpandReceiptTemplate)->Unit(benchmark::kMillisecond);

void BM_CompileReceiptTemplate(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) {
        auto bytes = Prelix10::VelmarCommandParser().parse(fieldData(), templateText(),
                                                           Prelix10::OrvoPrinterModel::harlo599KZ,
                                                           Prelix10::OrvoPrinterEmulation::escPos);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_CompileReceiptTemplate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
