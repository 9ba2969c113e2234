#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "command/TestHex.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

using Prelix10::OrvoPrinterEmulation;
using Prelix10::OrvoPrinterModel;
using TestHex::hex;

namespace {

std::string repeat(const std::string& item, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += (i ? " " : "") + item;
    return out;
}

std::string join(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& part : parts) {
        if (part.empty()) continue;
        out += (out.empty() ? "" : " ") + part;
    }
    return out;
}

// A document whose one printer category holds the given items.
std::string document(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           items + "]}]}]}";
}

std::string pageMode(const std::string& area, const std::string& contents) {
    return R"({"category":"PageMode","parameters":[{"method":"Style.PageMode.Area","parameter":)" + area +
           R"(}],"contents":[)" + contents + "]}";
}

std::string compile(const std::string& doc, OrvoPrinterEmulation emulation = OrvoPrinterEmulation::kestrin,
                    OrvoPrinterModel model = OrvoPrinterModel::harlo599KZ) {
    return hex(Prelix10::VelmarCommandParser().parse(doc, std::nullopt, model, emulation));
}

// Kestrin on a 203-dpi model with page mode (0.125 mm a dot).
const std::string kDefaults =
    "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 1D 29 55 02 00 40 00";
const std::string kClosePrinter = "1B 44 00";
// Every text on a UTF-8 model: the UTF-8 code page and the character spacing first.
const std::string kText = "1B 1D 74 80 1B 20 00 1B 73 00 00 1B 74 00 00";
const std::string kBegin = "1B 1D 50 30";
const std::string kEnteringStyle =
    "1B 46 1B 20 00 1B 73 00 00 1B 74 00 00 1B 1D 29 55 05 00 41 00 00 00 00 1B 1E 46 00 "
    "1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 35 1B 7A 01 1B 2D 00 1B 52 00 1B 69 00 00";
const std::string kArea72x100 = "1B 1D 50 33 00 00 00 00 40 02 20 03";
const std::string kEndAndPrint = "1B 1D 50 37 1B 1D 50 32 00";
const std::string kEndDiscard = "1B 1D 50 31";

// Moves by a number of dots: horizontal (1B 1D 52) and vertical (1B 1D 50 35) series.
std::string right(const std::vector<int>& values) {
    std::vector<std::string> parts;
    for (int v : values)
        parts.push_back("1B 1D 52 " + hex(std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), 0}));
    return join(parts);
}
std::string down(const std::vector<int>& values) {
    std::vector<std::string> parts;
    for (int v : values)
        parts.push_back("1B 1D 50 35 " + hex(std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), 0}));
    return join(parts);
}

}  // namespace

TEST(PageModeElement, AreaParameterReachesTheBuilder) {
    const std::string out =
        compile(document(pageMode(R"({"x":0,"y":0,"width":72,"height":100})",
                                  R"({"method":"Action.Print.Text","parameter":{"content":"A\n"}})")));
    EXPECT_EQ(out, join({kDefaults, kBegin, kEnteringStyle, kArea72x100, kText, "41 0A", kEndAndPrint,
                         kClosePrinter}));
}

TEST(PageModeElement, BlockWithoutAValidAreaPrintsNothing) {
    const std::string contents =
        R"({"method":"Action.Print.Text","parameter":{"content":"A\n"}},)"
        R"({"method":"Style.VerticalPositionBy","parameter":{"position":5}},)"
        R"({"method":"Action.Print.PageModeRuledLine","parameter":{"xStart":0,"yStart":0,"xEnd":10,"yEnd":0,"thickness":1,"lineStyle":"Single"}},)"
        R"({"method":"Action.Print.PageModeImage","parameter":{"source":"/w==","width":8,"height":1}})";
    const std::string empty = join({kDefaults, kBegin, kEnteringStyle, kEndDiscard, kClosePrinter});
    // Too narrow, a parameter missing, the area given in the contents instead of the parameters.
    EXPECT_EQ(compile(document(pageMode(R"({"x":0,"y":0,"width":2.9,"height":100})", contents))), empty);
    EXPECT_EQ(compile(document(pageMode(R"({"x":0,"y":0,"width":72})", contents))), empty);
    EXPECT_EQ(
        compile(document(
            R"({"category":"PageMode","contents":[{"method":"Style.PageMode.Area","parameter":{"x":0,"y":0,"width":72,"height":100}},)" +
            contents + "]}")),
        empty);
}

TEST(PageModeElement, NothingOnEmulationsWithoutPageMode) {
    const std::string block = pageMode(
        R"({"x":0,"y":0,"width":72,"height":100})",
        R"({"method":"Action.Print.Text","parameter":{"content":"A\n"}},)"
        R"({"method":"Action.Print.PageModeRectangle","parameter":{"x":0,"y":0,"width":10,"height":10,"thickness":1,"roundCorner":false,"cornerRadius":0,"lineStyle":"Single"}})");
    for (auto emulation :
         {OrvoPrinterEmulation::orvoLine, OrvoPrinterEmulation::orvoDot, OrvoPrinterEmulation::orvoGraphic,
          OrvoPrinterEmulation::escPos, OrvoPrinterEmulation::escPosMobile}) {
        const std::string text = R"({"method":"Action.Print.Text","parameter":{"content":"Hi"}})";
        EXPECT_EQ(compile(document(text + "," + block), emulation), compile(document(text), emulation))
            << static_cast<int>(emulation);
    }
    // The page printer emulation on a model without page mode.
    EXPECT_EQ(compile(document(block), OrvoPrinterEmulation::kestrin, OrvoPrinterModel::kelto59),
              compile(document(""), OrvoPrinterEmulation::kestrin, OrvoPrinterModel::kelto59));
}

// Text, a picture, a ruled line and a rectangle in one page, worked out command by command.
TEST(PageModeElement, WholeDocumentOnKestrin) {
    const std::string doc = document(
        R"({"method":"Action.Print.Text","parameter":{"content":"Hi"}},)" +
        pageMode(
            R"({"x":0,"y":0,"width":72,"height":100})",
            R"({"method":"Action.Print.Text","parameter":{"content":"A\n"}},)"
            R"({"method":"Action.Print.PageModeImage","parameter":{"source":"gf8=","x":1,"y":2,"width":8,"height":2}},)"
            R"({"method":"Action.Print.PageModeRuledLine","parameter":{"xStart":0,"yStart":10,"xEnd":20,"yEnd":10,"thickness":0.25,"lineStyle":"Single"}},)"
            R"({"method":"Action.Print.PageModeRectangle","parameter":{"x":0,"y":20,"width":10,"height":5,"thickness":0.125,"roundCorner":false,"cornerRadius":0,"lineStyle":"Single"}})") +
        R"(,{"method":"Action.Print.Text","parameter":{"content":"B\n"}},)"
        R"({"method":"Action.Cut","parameter":{"type":"Full"}})");

    // The picture, 8 x 2 dots (rows 10000001, 11111111) at 1 mm, 2 mm: a band of 8 dots x 24 rows at
    // (8, 16) dots, 8 columns of the two rows, the page area again, then right by 1 + 1 mm and
    // down by 2 mm (16 dots each way).
    const std::string picture =
        join({"1B 1D 50 33 08 00 10 00 08 00 18 00", "1B 58 08 00 C0 00 00", repeat("40 00 00", 6),
              "C0 00 00 1B 49 18", kArea72x100, right({8, 4, 2, 1, 1}), down({8, 4, 2, 1, 1})});
    // The ruled line, 20 mm x 0.25 mm (160 columns of 2 rows) at 10 mm; right by 20 mm, down by 10 mm.
    const std::string ruledLine =
        join({"1B 1D 50 33 00 00 50 00 A0 00 18 00 1B 58 A0 00", repeat("C0 00 00", 160), "1B 49 18",
              kArea72x100, right({80, 40, 20, 10, 5, 2, 1, 1, 1}), down({40, 20, 10, 5, 2, 1, 1, 1})});
    // The rectangle, 10 x 5 mm at (0, 20) with 1-dot lines: top, left, bottom, right. The sides
    // are 40 rows: a band of 24, a feed of 16, and the last 16 rows at the bottom of a full band.
    const std::string down20mm = down({80, 40, 20, 10, 5, 2, 1, 1, 1});
    const std::string right10mm = right({40, 20, 10, 5, 2, 1, 1, 1});
    const std::string side = "1B 58 01 00 FF FF FF 1B 49 10 1B 58 01 00 00 FF FF 1B 49 18";
    const std::string rectangle = join({
        "1B 1D 50 33 00 00 A0 00 50 00 18 00 1B 58 50 00",
        repeat("80 00 00", 80),
        "1B 49 18",
        kArea72x100,
        right10mm,
        down20mm,  // top
        "1B 1D 50 33 00 00 A0 00 01 00 28 00",
        side,
        kArea72x100,
        right({1}),
        down20mm,  // left
        "1B 1D 50 33 00 00 C7 00 50 00 18 00 1B 58 50 00",
        repeat("80 00 00", 80),
        "1B 49 18",
        kArea72x100,
        right10mm,
        down({99, 49, 24, 12, 6, 3, 1, 1, 1, 1, 1, 1}),  // bottom
        "1B 1D 50 33 4F 00 A0 00 01 00 28 00",
        side,
        kArea72x100,
        right10mm,
        down20mm,  // right
    });

    const std::string expected =
        join({kDefaults, kText, "48 69",
              // "Hi" did not end the line: a line feed before page mode begins.
              kText, "0A", kBegin, kEnteringStyle, kArea72x100, kText, "41 0A", picture, ruledLine, rectangle,
              // The page is printed; the print position is then at the head of a line.
              kEndAndPrint, kText, "42 0A", "1B 64 02", kClosePrinter});
    EXPECT_EQ(compile(doc), expected);
}
