#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "MediaCompile.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/Code128CodeSetChooser.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/printer/Barcode.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;

namespace {

std::string choose(const std::string& content) {
    const auto out =
        Code128CodeSetChooser::choose(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
    std::string s;
    for (std::uint8_t b : out) {
        if (b >= 0x20 && b < 0x7F) {
            s += static_cast<char>(b);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%02X>", b);
            s += buf;
        }
    }
    return s;
}

}  // namespace

TEST(Code128CodeSetChooser, MarksEachCodeSet) {
    struct Case {
        std::string content;
        const char* data;
    } cases[] = {
        {"ABC", "{BABC"},
        {"abc", "{Babc"},
        {"123456", "{C<0C>\"8"},
        {"12345", "{C<0C>\"{B5"},
        {"12", "{B12"},
        {"AB1234cd", "{BAB{C<0C>\"{Bcd"},
        {"\x01"
         "AB",
         "{A<01>AB"},
        {"AB\x01", "{AAB<01>"},
        {"ab\x01"
         "c\x02",
         "{Bab{S<01>c{A<02>"},
        {"\x01"
         "a\x02",
         "{A<01>{Sa<02>"},
        {"a{b", "{Ba{{b"},
        {"\x86"
         "0123",
         "{B{1{C<01><17>"},
        {std::string("A\x81"
                     "B\x84",
                     4),
         "{BA{2B{4"},
        {"A\xC3\xA9", "{BA"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(choose(c.content), c.data) << c.content;
    }
}

namespace {

enum class Family { PagePrinter, DotImpact, EscPos, EscPosMobile, OrvoGraphic };

struct Request {
    BarcodeType type = BarcodeType::Code39;
    std::string content = "123";
    bool hri = true;
    int barDots = 2;
    BarRatioLevel level = BarRatioLevel::Level0;
    double height = 10.0;
    PrinterModel model = PrinterModel::Harlo599KZ;
};

std::string barcode(Family family, const Request& r, PrintSettingsInformation* settings = nullptr) {
    PrintSettingsInformation fresh;
    if (settings == nullptr) settings = &fresh;
    ByteBuffer buffer;
    switch (family) {
        case Family::PagePrinter:
            Barcode::orvoCommon(&buffer, r.type, r.content, r.hri, r.barDots, r.level, settings, r.model,
                                r.height);
            break;
        case Family::DotImpact:
            Barcode::orvoDotImpact(&buffer, r.type, r.content, r.hri, r.barDots, r.level, settings, r.height);
            break;
        case Family::EscPos:
            Barcode::escpos(&buffer, r.type, r.content, r.hri, r.barDots, r.level, settings, r.height);
            break;
        case Family::EscPosMobile:
            Barcode::escposMobile(&buffer, r.type, r.content, r.hri, r.barDots, r.level, settings, r.height);
            break;
        case Family::OrvoGraphic:
            Barcode::orvoGraphic(&buffer, r.type, r.content, r.hri, r.barDots, r.level, settings, r.height);
            break;
    }
    return hex(buffer);
}

Request with(BarcodeType type, int barDots = 2, BarRatioLevel level = BarRatioLevel::Level0,
             PrinterModel model = PrinterModel::Harlo599KZ) {
    Request r;
    r.type = type;
    r.content = "1";
    r.hri = false;
    r.barDots = barDots;
    r.level = level;
    r.model = model;
    return r;
}

}  // namespace

TEST(BarcodeCommand, Code39WithTextOnThePagePrinter) {
    PrintSettingsInformation settings;
    settings.isLineHead = false;
    EXPECT_EQ(barcode(Family::PagePrinter, Request{}, &settings), "1B 62 04 02 04 50 31 32 33 1E");
    EXPECT_TRUE(settings.isLineHead);  // no leading line feed, line head afterwards
}

TEST(BarcodeCommand, EverySymbologyOnEveryFamily) {
    struct Case {
        BarcodeType type;
        const char* pagePrinter;  // ESC b symbology byte
        const char* escpos;       // GS k format-2 byte
    } cases[] = {
        {BarcodeType::Jan8, "02", "44"},   {BarcodeType::Ean8, "02", "44"},
        {BarcodeType::Jan13, "03", "43"},  {BarcodeType::Ean13, "03", "43"},
        {BarcodeType::UpcA, "01", "41"},   {BarcodeType::UpcE, "00", "42"},
        {BarcodeType::Code39, "04", "45"}, {BarcodeType::Code128, "06", "49"},
        {BarcodeType::Code93, "07", "48"}, {BarcodeType::NW7, "08", "47"},
        {BarcodeType::Itf, "05", "46"},
    };
    for (const auto& c : cases) {
        Request r;
        r.type = c.type;
        r.content = "12";
        r.hri = false;
        r.height = 1.0;
        const std::string w = c.type == BarcodeType::Itf                                      ? "01"
                              : (c.type == BarcodeType::Code39 || c.type == BarcodeType::NW7) ? "04"
                                                                                              : "01";
        EXPECT_EQ(barcode(Family::PagePrinter, r),
                  "1B 62 " + std::string(c.pagePrinter) + " 01 " + w + " 08 31 32 1E");
        const std::string data = c.type == BarcodeType::Code128 ? "04 7B 42 31 32" : "02 31 32";
        EXPECT_EQ(barcode(Family::EscPos, r),
                  "1D 48 30 1D 68 08 1D 77 02 1D 6B " + std::string(c.escpos) + " " + data);
        EXPECT_EQ(barcode(Family::EscPosMobile, r),
                  "1D 48 30 1D 68 08 1D 77 02 1D 6B " + std::string(c.escpos) + " 02 31 32 0A");
        EXPECT_EQ(barcode(Family::DotImpact, r),
                  c.type == BarcodeType::Itf ? "1B 62 05 01 03 02 31 32 1E" : "");
        EXPECT_EQ(barcode(Family::OrvoGraphic, r), "");
    }
}

TEST(BarcodeCommand, PagePrinterModuleWidths) {
    using L = BarRatioLevel;
    struct Case {
        BarcodeType type;
        int barDots;
        L level;
        PrinterModel model;
        int w;
    } cases[] = {
        {BarcodeType::Code39, 2, L::LevelMinus1, PrinterModel::Harlo599KZ, 7},
        {BarcodeType::Code39, 2, L::Level0, PrinterModel::Harlo599KZ, 4},
        {BarcodeType::Code39, 2, L::LevelPlus1, PrinterModel::Harlo599KZ, 1},
        {BarcodeType::NW7, 1, L::Level0, PrinterModel::Harlo599KZ, 4},
        {BarcodeType::Code39, 9, L::Level0, PrinterModel::Harlo599KZ, 6},  // 203 dpi: at most 4 dots
        {BarcodeType::Code39, 5, L::LevelMinus1, PrinterModel::Ginor_7, 12},
        {BarcodeType::Code39, 5, L::LevelPlus1, PrinterModel::Ginor_7, 10},
        {BarcodeType::NW7, 8, L::Level0, PrinterModel::Ginor_7, 14},
        {BarcodeType::Itf, 1, L::LevelPlus1, PrinterModel::Harlo599KZ, 7},
        {BarcodeType::Itf, 3, L::LevelMinus1, PrinterModel::Harlo599KZ, 8},
        {BarcodeType::Itf, 3, L::LevelPlus1, PrinterModel::Harlo599KZ, 8},
        {BarcodeType::Itf, 5, L::LevelMinus1, PrinterModel::Harlo599KZ, 5},  // 5 dots use the 4-dot codes
        {BarcodeType::Itf, 5, L::LevelPlus1, PrinterModel::Harlo599KZ, 9},
        {BarcodeType::Itf, 7, L::Level0, PrinterModel::Harlo599KZ, 6},
        {BarcodeType::Code128, 6, L::LevelMinus1, PrinterModel::Harlo599KZ, 3},
        {BarcodeType::Code128, 6, L::LevelMinus1, PrinterModel::Ginor_7, 5},
        {BarcodeType::Jan13, 0, L::Level0, PrinterModel::Harlo599KZ, 1},
    };
    for (const auto& c : cases) {
        const std::string out = barcode(Family::PagePrinter, with(c.type, c.barDots, c.level, c.model));
        char w[4];
        std::snprintf(w, sizeof w, "%02X", c.w);
        EXPECT_EQ(out.substr(12, 2), w) << static_cast<int>(c.type) << " dots " << c.barDots;
    }
}

TEST(BarcodeCommand, HeightsAndEscapes) {
    Request r;
    r.height = 160.0;
    EXPECT_EQ(barcode(Family::PagePrinter, r).substr(15, 2), "FF");
    r.height = 0.0;
    EXPECT_EQ(barcode(Family::PagePrinter, r).substr(15, 2), "01");
    r.height = 1e300;
    EXPECT_EQ(barcode(Family::EscPos, r).substr(15, 2), "FF");
    EXPECT_EQ(barcode(Family::DotImpact,
                      [] {
                          Request q = with(BarcodeType::Itf);
                          q.height = 10;
                          return q;
                      }()),
              "1B 62 05 01 03 1C 31 1E");
    // Page-printer Code128: control characters and "%" become two-character codes, names their codes.
    Request code128 = with(BarcodeType::Code128);
    code128.content = "\\x01%\\(FNC1)\\(START_C)\\(NONE)A";
    EXPECT_EQ(barcode(Family::PagePrinter, code128), "1B 62 06 01 01 50 25 41 25 30 25 31 25 38 41 1E");
    Request code93 = with(BarcodeType::Code93);
    code93.content = "\x7F\\(FNC1)";  // no names for Code93: the name is dropped
    EXPECT_EQ(barcode(Family::PagePrinter, code93), "1B 62 07 01 01 50 25 35 1E");
    // Mobile Code128 names and a doubled brace.
    Request mobile = with(BarcodeType::Code128);
    mobile.content = "\\(CODE_B){\\(SHIFT)";
    EXPECT_EQ(barcode(Family::EscPosMobile, mobile),
              "1D 48 30 1D 68 50 1D 77 02 1D 6B 49 06 7B 42 7B 7B 7B 53 0A");
    mobile.hri = true;
    mobile.barDots = 20;
    EXPECT_EQ(barcode(Family::EscPosMobile, mobile).substr(0, 26), "1D 48 31 1D 68 50 1D 77 08");
    // EscPos Code128 goes through the code-set chooser.
    Request escpos = with(BarcodeType::Code128);
    escpos.content = "\\(FNC1)0123";
    escpos.hri = true;
    escpos.barDots = 0;
    EXPECT_EQ(barcode(Family::EscPos, escpos),
              "1D 48 32 1D 68 50 1D 77 01 1D 6B 49 08 7B 42 7B 31 7B 43 01 17");
}

TEST(BarcodeCommand, EscposDataLengthFitsOneByte) {
    for (Family family : {Family::EscPos, Family::EscPosMobile}) {
        Request r = with(BarcodeType::Code39);
        r.content = std::string(255, '1');
        EXPECT_NE(barcode(family, r), "");
        r.content = std::string(256, '1');
        PrintSettingsInformation settings;
        settings.isLineHead = false;
        EXPECT_EQ(barcode(family, r, &settings), "");
        EXPECT_FALSE(settings.isLineHead);
        // An escape counts as the one byte it decodes to.
        r.content = std::string(254, '1') + "\\x41";
        EXPECT_NE(barcode(family, r), "");
    }
    // EscPos Code128: the data with its code-set marks must fit too.
    Request r = with(BarcodeType::Code128);
    r.content = std::string(253, 'A');  // "{B" + 253 = 255 bytes
    EXPECT_NE(barcode(Family::EscPos, r), "");
    r.content = std::string(254, 'A');
    EXPECT_EQ(barcode(Family::EscPos, r), "");
    r.content = std::string(300, '7');  // 150 pairs in code set C: 152 bytes
    EXPECT_NE(barcode(Family::EscPos, r), "");
}

TEST(BarcodeCommand, PagePrinterRefusesAnInvalidPageModeState) {
    PrintSettingsInformation settings;
    settings.isPageMode = true;  // no valid area
    Request r;
    EXPECT_EQ(barcode(Family::PagePrinter, r, &settings), "");
    r.model = PrinterModel::Harlo599H;  // no page mode at all
    EXPECT_EQ(barcode(Family::PagePrinter, r, &settings), "");
    EXPECT_EQ(barcode(Family::PagePrinter, with(static_cast<BarcodeType>(11))), "");
}

namespace {

std::string barcodeItem(const std::string& symbology, const std::string& content,
                        const std::string& extra = "") {
    return R"({"method":"Action.Print.Barcode","parameter":{"symbology":")" + symbology + R"(","content":")" +
           content + "\"" + extra + "}}";
}

::testing::AssertionResult compiles(const std::string& items, Prelix10::OrvoPrinterEmulation emulation,
                                    const std::string& expected) {
    const auto model = Prelix10::OrvoPrinterModel::harlo599KZ;
    return MediaCompile::holds(MediaCompile::compile(items, emulation, model),
                               MediaCompile::compile("", emulation, model), expected);
}

}  // namespace

TEST(BarcodeCommand, CompileDocToolMustShow) {
    const std::string doc =
        MediaCompile::document(barcodeItem("Code39", "123", R"(,"print_hri":true,"height":10)"));
    const auto out = MediaCompile::compileDocTool("Kestrin", "Harlo599KZ", doc);
    const auto empty = MediaCompile::compileDocTool("Kestrin", "Harlo599KZ", MediaCompile::document(""));
    ASSERT_FALSE(out.empty());
    EXPECT_TRUE(MediaCompile::holds(out, empty, "1B 62 04 02 04 50 31 32 33 1E"));
}

TEST(BarcodeCommand, EverySymbologyKeywordThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    struct Case {
        const char* keyword;
        const char* pagePrinter;  // ESC b: symbology, text, width, height
        const char* escpos;       // GS k format-2 byte
    } cases[] = {
        {"Jan8", "02 01 01 FF", "44"},   {"Ean8", "02 01 01 FF", "44"},    {"Jan13", "03 01 01 FF", "43"},
        {"Ean13", "03 01 01 FF", "43"},  {"UpcA", "01 01 01 FF", "41"},    {"UpcE", "00 01 01 FF", "42"},
        {"Code39", "04 01 04 FF", "45"}, {"Code128", "06 01 01 FF", "49"}, {"Code93", "07 01 01 FF", "48"},
        {"NW7", "08 01 04 FF", "47"},    {"Itf", "05 01 01 FF", "46"},
    };
    for (const auto& c : cases) {
        // Defaults: no text, 2 dots, Level0, 160 mm (clamped to 255 dots).
        EXPECT_TRUE(compiles(barcodeItem(c.keyword, "12"), OrvoPrinterEmulation::kestrin,
                             std::string("1B 62 ") + c.pagePrinter + " 31 32 1E"))
            << c.keyword;
        const std::string data = std::string(c.keyword) == "Code128" ? "04 7B 42 31 32" : "02 31 32";
        EXPECT_TRUE(compiles(barcodeItem(c.keyword, "12"), OrvoPrinterEmulation::escPos,
                             "1D 48 30 1D 68 FF 1D 77 02 1D 6B " + std::string(c.escpos) + " " + data))
            << c.keyword;
    }
    EXPECT_TRUE(compiles(barcodeItem("code39", "12"), OrvoPrinterEmulation::kestrin, ""));
    EXPECT_TRUE(compiles(barcodeItem("Code39", "12", R"(,"bar_ratio_level":"Level1")"),
                         OrvoPrinterEmulation::kestrin, ""));
    EXPECT_TRUE(
        compiles(barcodeItem("Itf", "12"), OrvoPrinterEmulation::orvoDot, "1B 62 05 01 03 FF 31 32 1E"));
    EXPECT_TRUE(compiles(barcodeItem("Code128", "12"), OrvoPrinterEmulation::orvoDot, ""));
    EXPECT_TRUE(compiles(barcodeItem("Code39", "12"), OrvoPrinterEmulation::orvoGraphic, ""));
}

TEST(BarcodeCommand, EscposLengthLimitThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    const std::string head = "1D 48 30 1D 68 FF 1D 77 02 1D 6B ";
    EXPECT_TRUE(compiles(barcodeItem("Code39", std::string(255, '1')), OrvoPrinterEmulation::escPos,
                         head + "45 FF " + hex(std::string(255, '1'))));
    EXPECT_TRUE(compiles(barcodeItem("Code39", std::string(256, '1')), OrvoPrinterEmulation::escPos, ""));
    EXPECT_TRUE(compiles(barcodeItem("Code128", std::string(253, 'A')), OrvoPrinterEmulation::escPos,
                         head + "49 FF 7B 42 " + hex(std::string(253, 'A'))));
    EXPECT_TRUE(compiles(barcodeItem("Code128", std::string(254, 'A')), OrvoPrinterEmulation::escPos, ""));
    EXPECT_TRUE(
        compiles(barcodeItem("Code128", std::string(256, 'A')), OrvoPrinterEmulation::escPosMobile, ""));
}
