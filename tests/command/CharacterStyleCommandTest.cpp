// Character style creators: bytes per emulation and what they record in the style record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestHex.hpp"
#include "prelix10/command/printer/BaseMagnification.hpp"
#include "prelix10/command/printer/Bold.hpp"
#include "prelix10/command/printer/CharacterSpace.hpp"
#include "prelix10/command/printer/CjkPriority.hpp"
#include "prelix10/command/printer/ExpansionRate.hpp"
#include "prelix10/command/printer/Font.hpp"
#include "prelix10/command/printer/Invert.hpp"
#include "prelix10/command/printer/LineSpace.hpp"
#include "prelix10/command/printer/UnderLine.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;

namespace {

constexpr PrinterModel k203 = PrinterModel::Harlo599KZ;
constexpr PrinterModel k300 = PrinterModel::Ginor_7;

using Creator = std::function<void(ByteBuffer*, PrintSettingsInformation*)>;

struct Case {
    const char* label;
    Creator creator;
    const char* bytes;
};

std::string run(const Creator& creator, PrintSettingsInformation& settings) {
    ByteBuffer buffer;
    creator(&buffer, &settings);
    return hex(buffer);
}

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        PrintSettingsInformation settings;
        EXPECT_EQ(run(c.creator, settings), c.bytes) << c.label;
    }
}

TEST(CharacterStyleCommandTest, BytesPerEmulation) {
    using P = PrintSettingsInformation*;
    using B = ByteBuffer*;
    expectCases({
        {"underline page", [](B b, P s) { UnderLine::orvoCommon(b, true, s, k203); }, "1B 2D 01"},
        {"underline off page", [](B b, P s) { UnderLine::orvoCommon(b, false, s, k203); }, "1B 2D 00"},
        {"underline escpos", [](B b, P s) { UnderLine::escpos(b, true, s, k203); }, "1B 2D 02 1C 2D 02"},
        {"underline mobile", [](B b, P s) { UnderLine::escposMobile(b, true, s, k203); }, "1B 2D 02"},
        {"underline raster", [](B b, P s) { UnderLine::orvoGraphic(b, true, s, k203); }, ""},
        {"invert page", [](B b, P s) { Invert::orvoCommon(b, true, s, k203); }, "1B 34"},
        {"invert off page", [](B b, P s) { Invert::orvoCommon(b, false, s, k203); }, "1B 35"},
        {"invert escpos", [](B b, P s) { Invert::escposCommon(b, true, s, k203); }, "1D 42 01"},
        {"font B page", [](B b, P s) { Font::orvoCommon(b, FontType::B, s, k203); }, "1B 1E 46 01"},
        {"font C page takes A", [](B b, P s) { Font::orvoCommon(b, FontType::C, s, k203); }, "1B 1E 46 00"},
        {"font A dot", [](B b, P s) { Font::orvoDotImpact(b, FontType::A, s, k203); }, "1B 4D"},
        {"font B dot", [](B b, P s) { Font::orvoDotImpact(b, FontType::B, s, k203); }, "1B 50"},
        {"font C dot", [](B b, P s) { Font::orvoDotImpact(b, FontType::C, s, k203); }, "1B 4D"},
        {"font B escpos", [](B b, P s) { Font::escpos(b, FontType::B, s, k203); }, "1B 4D 01"},
        {"space 1 mm escpos", [](B b, P s) { CharacterSpace::escposCommon(b, 1.0, s, k203); },
         "1B 20 08 1C 53 00 08"},
        {"space 40 mm escpos", [](B b, P s) { CharacterSpace::escposCommon(b, 40.0, s, k203); },
         "1B 20 FF 1C 53 00 FF"},
        {"space negative escpos", [](B b, P s) { CharacterSpace::escposCommon(b, -3.0, s, k203); },
         "1B 20 00 1C 53 00 00"},
        {"space 1 mm page", [](B b, P s) { CharacterSpace::orvoCommon(b, 1.0, s, k203); },
         "1B 20 08 1B 73 00 08 1B 74 00 08"},
        {"space 5 mm page clamps", [](B b, P s) { CharacterSpace::orvoCommon(b, 5.0, s, k203); },
         "1B 20 0F 1B 73 00 0F 1B 74 00 0F"},
        {"space 1 mm 300 dpi", [](B b, P s) { CharacterSpace::orvoCommon(b, 1.0, s, k300); },
         "1B 20 0B 1B 73 00 0B 1B 74 00 0B"},
        {"space 0.3 mm dot", [](B b, P s) { CharacterSpace::orvoDotImpact(b, 0.3, s, k203); },
         "1B 20 02 1B 73 00 06 1B 74 00 06"},
        {"space huge page", [](B b, P s) { CharacterSpace::orvoCommon(b, 1e12, s, k203); },
         "1B 20 0F 1B 73 00 0F 1B 74 00 0F"},
        {"line 3 mm 203 dpi", [](B b, P s) { LineSpace::orvoCommon(b, 3.0, s, k203); }, "1B 7A 00"},
        {"line 3.5 mm 203 dpi", [](B b, P s) { LineSpace::orvoCommon(b, 3.5, s, k203); }, "1B 7A 01"},
        {"line 2.5 mm 300 dpi", [](B b, P s) { LineSpace::orvoCommon(b, 2.5, s, k300); }, "1B 7A 01"},
        {"line 4 mm dot", [](B b, P s) { LineSpace::orvoDotImpact(b, 4.0, s, k203); }, "1B 79 17"},
        {"line 100 mm dot", [](B b, P s) { LineSpace::orvoDotImpact(b, 100.0, s, k203); }, "1B 79 FF"},
        {"line negative dot", [](B b, P s) { LineSpace::orvoDotImpact(b, -1.0, s, k203); }, "1B 79 00"},
        {"line 4 mm escpos", [](B b, P s) { LineSpace::escposCommon(b, 4.0, s, k203); }, "1B 33 20"},
        {"magnify 9x9 escpos", [](B b, P s) { ExpansionRate::escposCommon(b, 9, 9, s, k203); }, "1D 21 77"},
        {"magnify 0x0 escpos", [](B b, P s) { ExpansionRate::escposCommon(b, 0, 0, s, k203); }, "1D 21 00"},
        {"magnify 2x3 escpos", [](B b, P s) { ExpansionRate::escposCommon(b, 2, 3, s, k203); }, "1D 21 12"},
        {"magnify extreme escpos",
         [](B b, P s) { ExpansionRate::escposCommon(b, INT32_MIN, INT32_MAX, s, k203); }, "1D 21 07"},
        {"magnify 9x9 page", [](B b, P s) { ExpansionRate::orvoCommon(b, 9, 9, s, k203); }, "1B 69 05 05"},
        {"magnify 9x9 R799",
         [](B b, P s) { ExpansionRate::orvoCommon(b, 9, 9, s, PrinterModel::Wexal_R799); }, "1B 69 02 05"},
        {"magnify 1x1 dot", [](B b, P s) { ExpansionRate::orvoDotImpact(b, 1, 1, s, k203); },
         "1B 57 00 1B 68 00 1B 78 01"},
        {"magnify 3x2 dot", [](B b, P s) { ExpansionRate::orvoDotImpact(b, 3, 2, s, k203); },
         "1B 57 01 1B 68 01 1B 78 00"},
        {"base magnification 203 dpi",
         [](B b, P s) { BaseMagnification::orvoCommon(b, BaseMagnificationType::X1_5, s, k203); }, ""},
        {"cjk K K J",
         [](B b, P s) {
             CjkPriority::orvoCommon(b, {Encode::Korean, Encode::Korean, Encode::Japanese}, s, k203);
         },
         "1B 1D 29 55 05 00 41 04 01 00 00"},
        {"cjk all four",
         [](B b, P s) {
             CjkPriority::orvoCommon(b,
                                     {Encode::TraditionalChinese, Encode::SimplifiedChinese, Encode::Japanese,
                                      Encode::Korean, Encode::Japanese},
                                     s, k203);
         },
         "1B 1D 29 55 05 00 41 03 02 01 04"},
        {"cjk repeated unknown values each take a slot",
         [](B b, P s) {
             CjkPriority::orvoCommon(b, {static_cast<Encode>(9), static_cast<Encode>(9), Encode::Japanese}, s, k203);
         },
         "1B 1D 29 55 05 00 41 00 00 01 00"},
        {"cjk empty slot ends the list",
         [](B b, P s) {
             CjkPriority::orvoCommon(b, {Encode::Japanese, Encode::Japanese, static_cast<Encode>(4), Encode::Korean},
                                     s, k203);
         },
         "1B 1D 29 55 05 00 41 01 00 00 00"},
        {"cjk long run of repeats, then a new value",
         [](B b, P s) {
             std::vector<Encode> priority(10000, Encode::Korean);
             priority.push_back(Encode::SimplifiedChinese);
             CjkPriority::orvoCommon(b, priority, s, k203);
         },
         "1B 1D 29 55 05 00 41 04 02 00 00"},
        {"cjk empty", [](B b, P s) { CjkPriority::orvoCommon(b, {}, s, k203); },
         "1B 1D 29 55 05 00 41 00 00 00 00"},
        {"cjk mobile",
         [](B b, P s) { CjkPriority::orvoCommon(b, {Encode::Japanese}, s, PrinterModel::Wexal_X759k); }, ""},
    });
}

TEST(CharacterStyleCommandTest, RecordsTheNewValues) {
    PrintSettingsInformation s;
    ByteBuffer b;
    ExpansionRate::orvoCommon(&b, 9, 0, &s, k203);
    EXPECT_EQ(s.expansionRatio.width, 6);
    EXPECT_EQ(s.expansionRatio.height, 1);
    ExpansionRate::escposCommon(&b, 3, 12, &s, k203);
    EXPECT_EQ(s.expansionRatio.width, 3);
    EXPECT_EQ(s.expansionRatio.height, 8);
    LineSpace::escposCommon(&b, 4.7, &s, k203);
    EXPECT_EQ(s.lineSpace, 4);
    LineSpace::escposCommon(&b, 1e12, &s, k203);
    EXPECT_EQ(s.lineSpace, INT32_MAX);
    CharacterSpace::escposCommon(&b, 0.5, &s, k203);
    EXPECT_EQ(s.characterSpace, 0.5);
    UnderLine::escpos(&b, true, &s, k203);
    Invert::escposCommon(&b, true, &s, k203);
    Font::escpos(&b, FontType::C, &s, k203);
    EXPECT_TRUE(s.underline);
    EXPECT_TRUE(s.invert);
    EXPECT_EQ(s.font, FontType::C);
    CjkPriority::orvoCommon(&b, {Encode::Korean, Encode::Korean}, &s, PrinterModel::Wexal_X759k);
    EXPECT_EQ(s.cjkCharacterPriority, (std::vector<Encode>{Encode::Korean, Encode::Korean}));
}

// Page mode without a valid area refuses the page-printer styles: no bytes, the record unchanged.
TEST(CharacterStyleCommandTest, PageModeRefusalLeavesEverything) {
    PrintSettingsInformation s;
    s.isPageMode = true;  // no area set
    ByteBuffer b;
    UnderLine::orvoCommon(&b, true, &s, k203);
    Invert::orvoCommon(&b, true, &s, k203);
    Font::orvoCommon(&b, FontType::B, &s, k203);
    CharacterSpace::orvoCommon(&b, 1.0, &s, k203);
    LineSpace::orvoCommon(&b, 8.0, &s, k203);
    ExpansionRate::orvoCommon(&b, 2, 2, &s, k203);
    BaseMagnification::orvoCommon(&b, BaseMagnificationType::X1_5, &s, k300);
    CjkPriority::orvoCommon(&b, {Encode::Japanese}, &s, k203);
    EXPECT_EQ(hex(b), "");
    const PrintSettingsInformation fresh;
    EXPECT_FALSE(s.underline);
    EXPECT_FALSE(s.invert);
    EXPECT_EQ(s.font, fresh.font);
    EXPECT_EQ(s.characterSpace, fresh.characterSpace);
    EXPECT_EQ(s.lineSpace, fresh.lineSpace);
    EXPECT_TRUE(s.expansionRatio.compare(fresh.expansionRatio));
    EXPECT_EQ(s.baseMagnification, fresh.baseMagnification);
    EXPECT_TRUE(s.cjkCharacterPriority.empty());
    // With a valid area the same command goes through.
    s.pageModeAreaSize = PageModeAreaSize(AreaType::Page, 0, 0, 50, 50);
    UnderLine::orvoCommon(&b, true, &s, PrinterModel::Harlo599KZ);
    EXPECT_EQ(hex(b), "1B 2D 01");
}

// The 1.5 base size on a 300-dpi printer sends the spacings again, now in dots of the larger base.
TEST(CharacterStyleCommandTest, BaseMagnificationResendsSpacing) {
    PrintSettingsInformation s;
    s.characterSpace = 1.0;
    s.lineSpace = 3;
    ByteBuffer b;
    BaseMagnification::orvoCommon(&b, BaseMagnificationType::X1_5, &s, k300);
    EXPECT_EQ(hex(b), "1B 1D 29 45 02 00 30 01 1B 20 07 1B 73 00 07 1B 74 00 07 1B 7A 00");
    EXPECT_EQ(s.baseMagnification, BaseMagnificationType::X1_5);
    ByteBuffer back;
    BaseMagnification::orvoCommon(&back, BaseMagnificationType::Standard, &s, k300);
    EXPECT_EQ(hex(back), "1B 1D 29 45 02 00 30 00 1B 20 0B 1B 73 00 0B 1B 74 00 0B 1B 7A 01");
}

// ESC ! on the mobile printers resets bold, size and underline: the font creator sends them again.
TEST(CharacterStyleCommandTest, MobileFontResendsBoldSizeAndUnderline) {
    PrintSettingsInformation s;
    s.bold = true;
    s.underline = true;
    s.expansionRatio = ExpansionRatioParam(2, 2);
    ByteBuffer bold;
    PrintSettingsInformation copy = s;
    Bold::escposCommon(&bold, true, &copy, PrinterModel::Wexal_X759k);
    ByteBuffer b;
    Font::escposMobile(&b, FontType::B, &s, PrinterModel::Wexal_X759k);
    const std::string boldBytes = hex(bold);
    EXPECT_EQ(hex(b), "1B 21 01" + (boldBytes.empty() ? "" : " " + boldBytes) + " 1D 21 11 1B 2D 02");
    EXPECT_EQ(s.font, FontType::B);
}

}  // namespace
