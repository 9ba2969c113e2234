// Expansion and compilation of a 500-line receipt template: 50 fixed lines with specifiers around an
// item block repeated for 450 items. Then the expansion of wide templates: 32,000 sibling
// categories, and an array block of 4,000 elements after 4,000 sibling categories.
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

// A Document of `count` sibling Printer categories with one line each.
std::string siblings(int count) {
    std::string items;
    for (int i = 0; i < count; ++i) {
        items += R"({"category":"Printer","contents":[)" +
                 text("Line " + std::to_string(i) + " ${shop.name}\\n") + "]},";
    }
    return items;
}

std::string wideTemplate(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)" +
           items + R"({"method":"Action.Cut","parameter":{"type":"Partial"}}]}]})";
}

void expandOnce(benchmark::State& state, const std::string& templateText, const std::string& fields) {
    std::size_t size = 0;
    for (auto _ : state) {
        std::int32_t typeId = -1, code = -1, messageId = -1;
        std::string expanded =
            TemplatePrint::TemplatePrintParser().parse(templateText, fields, typeId, code, messageId);
        if (typeId != -1) state.SkipWithError("expansion failed");
        size = expanded.size();
        benchmark::DoNotOptimize(expanded);
    }
    state.counters["bytes"] = static_cast<double>(size);
}

void BM_ExpandSiblingCategories(benchmark::State& state) {
    static const std::string templateText = wideTemplate(siblings(32000));
    expandOnce(state, templateText, R"({"shop":{"name":"Corner Shop"}})");
}
BENCHMARK(BM_ExpandSiblingCategories)->Unit(benchmark::kMillisecond);

void BM_CompileSiblingCategories(benchmark::State& state) {
    static const std::string document = [] {
        std::int32_t typeId = -1, code = -1, messageId = -1;
        return TemplatePrint::TemplatePrintParser().parse(
            wideTemplate(siblings(32000)), R"({"shop":{"name":"Corner Shop"}})", typeId, code, messageId);
    }();
    std::size_t size = 0;
    for (auto _ : state) {
        auto bytes = Prelix10::VelmarCommandParser().parse(document, std::nullopt,
                                                           Prelix10::OrvoPrinterModel::harlo599KZ,
                                                           Prelix10::OrvoPrinterEmulation::escPos);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_CompileSiblingCategories)->Unit(benchmark::kMillisecond);

void BM_ExpandArrayBlockAfterSiblings(benchmark::State& state) {
    static const std::string templateText = wideTemplate(
        siblings(4000) +
        R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
        text("${items.name}  x${items.qty%3d}\\n") + "]},");
    static const std::string fields = [] {
        std::string items;
        for (int i = 0; i < 4000; ++i) {
            items += std::string(i ? "," : "") + R"({"name":"Article )" + std::to_string(i) + R"(","qty":)" +
                     std::to_string(i % 9 + 1) + "}";
        }
        return R"({"shop":{"name":"Corner Shop"},"items":[)" + items + "]}";
    }();
    expandOnce(state, templateText, fields);
}
BENCHMARK(BM_ExpandArrayBlockAfterSiblings)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
