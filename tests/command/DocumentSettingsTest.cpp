#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/PrintableAreaTable.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/document/BlackMark.hpp"
#include "prelix10/command/document/Builder.hpp"
#include "prelix10/command/document/TopMargin.hpp"

using namespace PrinterCommandBuilder;
using Document::BlackMarkPosition;
using Document::PrintableAreaTable;
using TestHex::hex;

namespace {

const char* const emulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                  "OrvoYalme1", "EscPos",   "EscPosMobile"};

std::string run(const char* emulation, PrinterModel model,
                const std::function<void(Document::Builder&)>& action) {
    ByteBuffer buffer;
    auto root = BuilderFactory(emulation, &buffer, model).create();
    EXPECT_NE(root, nullptr) << emulation;
    if (root == nullptr) return "?";
    action(*root->getDocumentBuilder());
    return hex(buffer);
}

// The top-margin series from 11 to n.
std::string margins(std::initializer_list<int> steps) {
    std::vector<std::uint8_t> bytes;
    for (int k : steps) bytes.insert(bytes.end(), {0x1B, 0x1E, 0x54, static_cast<std::uint8_t>(k)});
    return hex(bytes);
}

}  // namespace

TEST(DocumentSettings, CommandsPerEmulationAndModel) {
    using B = Document::Builder;
    const auto blackMark = [](bool on, BlackMarkPosition p) {
        return [=](B& b) { b.appendBlackMark(on, false, p); };
    };
    const auto label = [](bool on) { return [=](B& b) { b.appendLabel(on, false); }; };
    const auto hold = [](bool on) { return [=](B& b) { b.appendHoldPrint(on); }; };
    const auto area = [](double mm) { return [=](B& b) { b.appendPrintableArea(mm); }; };
    const auto margin = [](int h) { return [=](B& b) { b.appendTopMargin(h); }; };
    struct Case {
        const char* emulation;
        PrinterModel model;
        std::function<void(B&)> action;
        std::string bytes;
    } cases[] = {
        {"Kestrin", PrinterModel::Harlo599KZ, blackMark(true, BlackMarkPosition::Back),
         "1B 1E 7A 01 1B 1E 6D 01 02"},
        {"Kestrin", PrinterModel::Harlo599KZ, blackMark(false, BlackMarkPosition::Front),
         "1B 1E 7A 00 1B 1E 6D 00 00"},
        {"OrvoLine", PrinterModel::Harlo599KZ, blackMark(true, BlackMarkPosition::Back), "1B 1E 6D 01"},
        {"OrvoDot", PrinterModel::Harlo599KZ, blackMark(false, BlackMarkPosition::Front), "1B 1E 6D 00"},
        {"EscPos", PrinterModel::Harlo599KZ, blackMark(true, BlackMarkPosition::Front), "1B 1E 6D 01"},
        {"OrvoGraphic", PrinterModel::Harlo599KZ, blackMark(true, BlackMarkPosition::Front), ""},
        {"EscPosMobile", PrinterModel::Wexal_D699, blackMark(true, BlackMarkPosition::Front), ""},
        {"Kestrin", PrinterModel::Ginor_7, label(true), "1B 1E 78 01 1B 1E 6D 01 01"},
        {"Kestrin", PrinterModel::Wexal_D699, label(false), "1B 1E 78 00 1B 1E 6D 00 01"},
        {"Kestrin", PrinterModel::Telva_6, label(true), ""},
        {"Kestrin", PrinterModel::Harlo599KZ, label(true), ""},
        {"Kestrin", PrinterModel::Harlo599H, label(true), ""},
        {"OrvoLine", PrinterModel::Ginor_7, label(true), ""},
        {"Kestrin", PrinterModel::Harlo599KZ, hold(false), "1B 16 13 00 1B 16 14 00"},
        {"OrvoLine", PrinterModel::Harlo599KZ, hold(true), "1B 16 13 00 1B 16 14 01"},
        {"EscPos", PrinterModel::Harlo599KZ, hold(true), ""},
        {"Kestrin", PrinterModel::Harlo599H, area(72), "1B 1E 41 00"},
        {"Kestrin", PrinterModel::Harlo599H, area(51), "1B 1E 41 01"},
        {"Kestrin", PrinterModel::Harlo599H, area(80), "1B 1E 41 00"},
        {"Kestrin", PrinterModel::Pundo1_6G, area(54), "1B 1E 41 01"},
        {"Kestrin", PrinterModel::Pundo1_6G, area(58), "1B 1E 41 3A"},
        {"Kestrin", PrinterModel::Ginor_7, area(72), "1B 1E 41 04"},    // 300 dpi: 850 dots
        {"OrvoLine", PrinterModel::Ginor_7, area(72), "1B 1E 41 00"},   // 8 dots/mm: 576 dots
        {"OrvoDot", PrinterModel::Harlo599H, area(72), "1B 1E 41 01"},  // 240 dots
        {"EscPos", PrinterModel::Harlo599H, area(1e300), "1B 1E 41 00"},
        {"OrvoGraphic", PrinterModel::Harlo599KZ, area(48), "1B 1E 41 02"},
        {"Kestrin", PrinterModel::Wexal_D699, area(72), ""},
        {"Kestrin", PrinterModel::Yalme1, area(72), ""},
        {"EscPosMobile", PrinterModel::Harlo599H, area(72), ""},
        {"OrvoLine", PrinterModel::Harlo599KZ, margin(11), margins({11})},
        {"OrvoLine", PrinterModel::Harlo599KZ, margin(13), margins({11, 12, 13})},
        {"OrvoLine", PrinterModel::Harlo599KZ, margin(0), margins({11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1})},
        {"OrvoLine", PrinterModel::Harlo599KZ, margin(99), margins({11, 12, 13, 14, 15, 16, 17, 18, 19, 20})},
        {"Kestrin", PrinterModel::Harlo599KZ, margin(11), ""},
        {"Kestrin", PrinterModel::Harlo599KZ_XW, margin(10), margins({11, 10})},
        {"OrvoGraphic", PrinterModel::Harlo599KZ, margin(2), "1B 2A 72 74 03 00"},
        {"OrvoGraphic", PrinterModel::Harlo599KZ, margin(50), "1B 2A 72 74 0B 00"},
        {"EscPos", PrinterModel::Harlo599KZ, margin(11), ""},
        {"OrvoDot", PrinterModel::Harlo599KZ, margin(11), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.emulation, c.model, c.action), c.bytes)
            << c.emulation << " model " << rawValue(c.model);
    }
}

TEST(DocumentSettings, SecondFlagAndUnknownPosition) {
    ByteBuffer buffer;
    Document::BlackMark::kestrin(&buffer, false, true, BlackMarkPosition::Front);
    EXPECT_EQ(hex(buffer), "1B 1E 7A 02 1B 1E 6D 02 00");
    ByteBuffer none;
    Document::BlackMark::kestrin(&none, true, false, static_cast<BlackMarkPosition>(2));
    Document::BlackMark::escpos(&none, true, false, static_cast<BlackMarkPosition>(-1));
    Document::TopMargin::orvoCommon(nullptr, 3);
    EXPECT_EQ(hex(none), "");
}

TEST(DocumentSettings, RawContentIsPassedOnEveryEmulation) {
    for (const char* emulation : emulations) {
        for (PrinterModel model : {PrinterModel::Unknown, PrinterModel::Harlo599KZ, PrinterModel::Yalme1}) {
            EXPECT_EQ(run(emulation, model, [](Document::Builder& b) { b.appendRaw("G0A="); }), "1B 40")
                << emulation;
        }
        // Characters outside the Base64 alphabet are skipped.
        EXPECT_EQ(
            run(emulation, PrinterModel::Harlo599KZ, [](Document::Builder& b) { b.appendRaw("G0\nA="); }),
            "1B 40");
        EXPECT_EQ(run(emulation, PrinterModel::Harlo599KZ, [](Document::Builder& b) { b.appendRaw(""); }),
                  "");
    }
}

TEST(DocumentSettings, RasterOnlyEmulationBracketsEachDocument) {
    for (const char* emulation : emulations) {
        const std::string bytes = run(emulation, PrinterModel::Harlo599KZ, [](Document::Builder& b) {
            b.notifyRank(0);
            b.notifyRank(static_cast<std::size_t>(-1));
        });
        if (std::string(emulation) == "OrvoGraphic") {
            EXPECT_EQ(bytes, "1B 2A 72 41 1B 2A 72 50 30 00 1B 2A 72 45 31 00 1B 2A 72 42");
        } else {
            EXPECT_EQ(bytes, "") << emulation;
        }
    }
}

TEST(PrintableAreaTable, ChoosesTheNarrowestWidthThatHoldsTheDots) {
    struct Case {
        int model;
        int dots;
        int code;  // -1: no command
    } cases[] = {
        {6, 576, 0},     {6, 408, 1},   {6, 640, 0},  // no width reaches 640: the widest wins
        {36, 432, 1},                                 // 432->1 and 432->54 tie: the earlier wins
        {36, 464, 0x3A}, {20, 850, 4},  {31, 155, 1}, {32, 0, 40},  {21, 121, 16}, {5, -5, 30},
        {24, 576, -1},   {38, 576, -1}, {0, 576, -1}, {1, 576, -1}, {37, 576, -1},
    };
    for (const auto& c : cases) {
        const auto code = PrintableAreaTable::chooseCode(static_cast<PrinterModel>(c.model), c.dots);
        if (c.code < 0) {
            EXPECT_FALSE(code.has_value()) << c.model;
        } else {
            ASSERT_TRUE(code.has_value()) << c.model;
            EXPECT_EQ(*code, c.code) << c.model << " " << c.dots;
        }
    }
}
