// Position, alignment, feed, cut and logo creators.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "TestHex.hpp"
#include "prelix10/command/printer/Alignment.hpp"
#include "prelix10/command/printer/Cut.hpp"
#include "prelix10/command/printer/HorizontalPositionBy.hpp"
#include "prelix10/command/printer/HorizontalPositionTo.hpp"
#include "prelix10/command/printer/LineFeed.hpp"
#include "prelix10/command/printer/Logo.hpp"
#include "prelix10/command/printer/SeparatorFeed.hpp"
#include "prelix10/command/printer/UnitFeed.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;

namespace {

constexpr PrinterModel k203 = PrinterModel::Harlo599KZ;
constexpr PrinterModel k300 = PrinterModel::Ginor_7;

using Creator = std::function<void(ByteBuffer*, PrintSettingsInformation*)>;
using P = PrintSettingsInformation*;
using B = ByteBuffer*;

struct Case {
    const char* label;
    Creator creator;
    std::string bytes;
    int lineHeadAfter;  // 1 set, 0 cleared, -1 unchanged (the record starts at line head = false)
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        PrintSettingsInformation settings;
        settings.isLineHead = c.lineHeadAfter == 0;  // so that a change is visible either way
        const bool before = settings.isLineHead;
        ByteBuffer buffer;
        c.creator(&buffer, &settings);
        EXPECT_EQ(hex(buffer), c.bytes) << c.label;
        const bool expected = c.lineHeadAfter < 0 ? before : c.lineHeadAfter == 1;
        EXPECT_EQ(settings.isLineHead, expected) << c.label;
    }
}

// The bytes of a series of relative moves, "lo hi" each, for the ESC/POS form 1B 5C.
std::string escposMoves(std::initializer_list<int> values) {
    std::string result;
    for (int v : values) {
        const auto u = static_cast<uint16_t>(static_cast<int16_t>(v));
        if (!result.empty()) result += ' ';
        result += hex(
            std::vector<uint8_t>{0x1B, 0x5C, static_cast<uint8_t>(u & 0xFF), static_cast<uint8_t>(u >> 8)});
    }
    return result;
}

TEST(PositionFeedCutCommandTest, Feeds) {
    expectCases({
        {"line feed 3 page", [](B b, P s) { LineFeed::orvoCommon(b, 3, s, k203); }, "1B 61 03", 1},
        {"line feed 300 page", [](B b, P s) { LineFeed::orvoCommon(b, 300, s, k203); }, "1B 61 7F", 1},
        {"line feed -2 page", [](B b, P s) { LineFeed::orvoCommon(b, -2, s, k203); }, "1B 61 00", 1},
        {"line feed 300 escpos", [](B b, P s) { LineFeed::escposCommon(b, 300, s, k203); }, "1B 64 FF", 1},
        {"line feed raster", [](B b, P s) { LineFeed::orvoGraphic(b, 3, s, k203); }, "", 1},
        {"unit 10 mm page", [](B b, P s) { UnitFeed::orvoCommon(b, 10.0, s, k203); }, "1B 49 50", 1},
        {"unit 75 mm page", [](B b, P s) { UnitFeed::orvoCommon(b, 75.0, s, k203); },
         "1B 49 FF 1B 49 FF 1B 49 5A", 1},
        {"unit 0.1 mm page", [](B b, P s) { UnitFeed::orvoCommon(b, 0.1, s, k203); }, "", -1},
        {"unit 0.1 mm 300 dpi", [](B b, P s) { UnitFeed::orvoCommon(b, 0.1, s, k300); }, "1B 49 01", 1},
        {"unit 1 mm dot", [](B b, P s) { UnitFeed::orvoDotImpact(b, 1.0, s, k203); }, "1B 49 06", 1},
        {"unit 0.17 mm dot", [](B b, P s) { UnitFeed::orvoDotImpact(b, 0.17, s, k203); }, "", -1},
        {"unit 0.1 mm escpos", [](B b, P s) { UnitFeed::escpos(b, 0.1, s, k203); }, "", -1},
        {"unit 2 mm escpos", [](B b, P s) { UnitFeed::escpos(b, 2.0, s, k203); }, "1B 4A 10", 1},
        {"unit 2 mm mobile", [](B b, P s) { UnitFeed::escposMobile(b, 2.0, s, k203); }, "1B 4A 10", 1},
        {"unit NaN escpos", [](B b, P s) { UnitFeed::escpos(b, std::nan(""), s, k203); }, "", -1},
        {"unit 10 mm raster", [](B b, P s) { UnitFeed::orvoGraphic(b, 10.0, s, k203); },
         "1B 2A 72 59 38 30 00 00 00", 1},
        {"unit 0.1 mm raster", [](B b, P s) { UnitFeed::orvoGraphic(b, 0.1, s, k203); }, "", -1},
        {"unit 1300 mm raster: two commands", [](B b, P s) { UnitFeed::orvoGraphic(b, 1300.0, s, k203); },
         "1B 2A 72 59 39 39 39 39 00 1B 2A 72 59 34 30 31 00 00", 1},
        {"separator supported", [](B b, P s) { SeparatorFeed::orvoCommon(b, s, PrinterModel::Harlo399KK); },
         "0C", 1},
        {"separator unsupported", [](B b, P s) { SeparatorFeed::orvoCommon(b, s, k203); }, "", -1},
        {"separator mobile", [](B b, P s) { SeparatorFeed::escposMobile(b, s, PrinterModel::Wexal_X759k); },
         "1B 7A 1B 79", 1},
        {"separator escpos", [](B b, P s) { SeparatorFeed::escpos(b, s, PrinterModel::Pundo5_7GG); }, "0C",
         1},
        {"separator raster", [](B b, P s) { SeparatorFeed::orvoGraphic(b, s, PrinterModel::Pundo5_7GG); },
         "0C", 1},
    });
}

// A blank stretch of an image 80,000 rows long still feeds in full (in 255-dot commands).
TEST(PositionFeedCutCommandTest, LongFeedsAreSplitNotCut) {
    PrintSettingsInformation s;
    ByteBuffer b;
    UnitFeed::escpos(&b, 80000 * 0.125, &s, k203);
    const std::vector<uint8_t> bytes = b.toVector();
    ASSERT_EQ(bytes.size() % 3, 0u);
    long total = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) total += bytes[i + 2];
    EXPECT_EQ(total, 80000);
    // Absurd values stay bounded.
    ByteBuffer huge;
    UnitFeed::orvoCommon(&huge, 1e12, &s, k203);
    EXPECT_LT(huge.getDataSize(), 4000u);
    ByteBuffer raster;
    UnitFeed::orvoGraphic(&raster, 1e12, &s, k203);
    EXPECT_LT(raster.getDataSize(), 100u);
}

TEST(PositionFeedCutCommandTest, AlignmentEndsAStartedLine) {
    expectCases({
        {"center after text escpos",
         [](B b, P s) {
             s->isLineHead = false;
             Alignment::escposCommon(b, AlignmentType::Center, s, k203);
         },
         "0A 1B 61 01", 1},
        {"center at line head escpos",
         [](B b, P s) {
             s->isLineHead = true;
             Alignment::escposCommon(b, AlignmentType::Center, s, k203);
         },
         "1B 61 01", 1},
        {"right page",
         [](B b, P s) {
             s->isLineHead = true;
             Alignment::orvoCommon(b, AlignmentType::Right, s, k203);
         },
         "1B 1D 61 02", 1},
        {"unknown type page",
         [](B b, P s) {
             s->isLineHead = true;
             Alignment::orvoCommon(b, static_cast<AlignmentType>(9), s, k203);
         },
         "1B 1D 61 00", 1},
        {"raster", [](B b, P s) { Alignment::orvoGraphic(b, AlignmentType::Right, s, k203); }, "", -1},
    });
    PrintSettingsInformation s;
    ByteBuffer b;
    Alignment::escposCommon(&b, AlignmentType::Right, &s, k203);
    EXPECT_EQ(s.alignment, AlignmentType::Right);
}

TEST(PositionFeedCutCommandTest, RelativeMoves) {
    expectCases({
        {"10 dots", [](B b, P s) { HorizontalPositionBy::escposCommon(b, 1.25, s, k203); },
         escposMoves({5, 2, 1, 1, 1}), 0},
        {"-4 dots", [](B b, P s) { HorizontalPositionBy::escposCommon(b, -0.5, s, k203); },
         escposMoves({-2, -1, -1}), 0},
        {"1 dot", [](B b, P s) { HorizontalPositionBy::escposCommon(b, 0.125, s, k203); }, escposMoves({1}),
         0},
        {"zero", [](B b, P s) { HorizontalPositionBy::escposCommon(b, 0.05, s, k203); }, "", -1},
        {"page printer 1 mm", [](B b, P s) { HorizontalPositionBy::kestrin(b, 1.0, s, k203); },
         "1B 1D 52 04 00 1B 1D 52 02 00 1B 1D 52 01 00 1B 1D 52 01 00", 0},
        {"dot impact 0.3 mm", [](B b, P s) { HorizontalPositionBy::orvoDotImpact(b, 0.3, s, k203); },
         "1B 1D 52 01 00 1B 1D 52 01 00", 0},
        {"absolute escpos 0 mm", [](B b, P s) { HorizontalPositionTo::escposCommon(b, 0.0, s, k203); },
         "1B 24 00 00", 0},
        {"absolute page 0.25 mm", [](B b, P s) { HorizontalPositionTo::orvoLine(b, 0.25, s, k203); },
         "1B 1D 41 00 00 1B 1D 52 01 00 1B 1D 52 01 00", 0},
        {"raster", [](B b, P s) { HorizontalPositionBy::orvoGraphic(b, 5.0, s, k203); }, "", -1},
    });
}

// Every series adds up to the dot count, clamped to 16 bits: a move of 10,000 mm is 32,767 dots,
// not a truncated first half.
TEST(PositionFeedCutCommandTest, RelativeMoveSeriesSumAndClamp) {
    struct Move {
        double mm;
        long dots;
    };
    for (const Move& m : std::vector<Move>{{0.125, 1},
                                           {0.875, 7},
                                           {12.5, 100},
                                           {-12.5, -100},
                                           {1000.0, 8000},
                                           {4095.875, 32767},
                                           {10000.0, 32767},
                                           {1e12, 32767},
                                           {-10000.0, -32768},
                                           {-1e12, -32768}}) {
        PrintSettingsInformation s;
        ByteBuffer b;
        HorizontalPositionBy::escposCommon(&b, m.mm, &s, k203);
        const std::vector<uint8_t> bytes = b.toVector();
        ASSERT_EQ(bytes.size() % 4, 0u) << m.mm;
        long total = 0;
        for (size_t i = 0; i < bytes.size(); i += 4) {
            EXPECT_EQ(bytes[i], 0x1B);
            EXPECT_EQ(bytes[i + 1], 0x5C);
            total += static_cast<int16_t>(bytes[i + 2] | (bytes[i + 3] << 8));
        }
        EXPECT_EQ(total, m.dots) << m.mm;
    }
}

TEST(PositionFeedCutCommandTest, PageModeRefusesPagePrinterMovesAndFeeds) {
    PrintSettingsInformation s;
    s.isPageMode = true;
    s.isLineHead = false;
    ByteBuffer b;
    LineFeed::orvoCommon(&b, 1, &s, k203);
    UnitFeed::orvoCommon(&b, 5.0, &s, k203);
    HorizontalPositionBy::kestrin(&b, 5.0, &s, k203);
    HorizontalPositionTo::kestrin(&b, 5.0, &s, k203);
    EXPECT_EQ(hex(b), "");
    EXPECT_FALSE(s.isLineHead);
}

TEST(PositionFeedCutCommandTest, CutsPerEmulationAndModel) {
    expectCases({
        {"partial page", [](B b, P s) { Cut::orvoCommon(b, CutType::Partial, s, k203); }, "1B 64 03", 1},
        {"partial direct page", [](B b, P s) { Cut::orvoCommon(b, CutType::PartialDirect, s, k203); },
         "1B 64 01", 1},
        {"full page", [](B b, P s) { Cut::orvoCommon(b, CutType::Full, s, k203); }, "1B 64 02", 1},
        {"full direct page", [](B b, P s) { Cut::orvoCommon(b, CutType::FullDirect, s, k203); }, "1B 64 00",
         1},
        {"tear off page", [](B b, P s) { Cut::orvoCommon(b, CutType::TearOff, s, k203); }, "1B 64 74", 1},
        {"tear off kiosk",
         [](B b, P s) { Cut::orvoCommon(b, CutType::TearOff, s, PrinterModel::Pundo5_7GG); }, "1B 64 03", 1},
        {"unknown page", [](B b, P s) { Cut::orvoCommon(b, static_cast<CutType>(7), s, k203); }, "1B 64 03",
         1},
        {"partial escpos", [](B b, P s) { Cut::escpos(b, CutType::Partial, s, k203); }, "1D 56 42 00", 1},
        {"full escpos", [](B b, P s) { Cut::escpos(b, CutType::Full, s, k203); }, "1D 56 41 00", 1},
        {"full direct escpos", [](B b, P s) { Cut::escpos(b, CutType::FullDirect, s, k203); }, "1D 56 00 00",
         1},
        {"tear off escpos", [](B b, P s) { Cut::escpos(b, CutType::TearOff, s, k203); }, "1D 56 42 00", 1},
        {"full mobile", [](B b, P s) { Cut::escposMobile(b, CutType::Full, s, PrinterModel::Wexal_X759k); },
         "0A 0A 0A 0A 1B 7A 1B 79", 1},
        {"partial direct mobile",
         [](B b, P s) { Cut::escposMobile(b, CutType::PartialDirect, s, PrinterModel::Wexal_X759k); },
         "0A 1B 7A 1B 79", 1},
        {"partial raster", [](B b, P s) { Cut::orvoGraphic(b, CutType::Partial, s, k203); },
         "1B 2A 72 65 31 33 00 1B 0C 19", 1},
        {"partial direct raster", [](B b, P s) { Cut::orvoGraphic(b, CutType::PartialDirect, s, k203); },
         "1B 2A 72 65 31 32 00 1B 0C 19", 1},
        {"full raster", [](B b, P s) { Cut::orvoGraphic(b, CutType::Full, s, k203); },
         "1B 2A 72 65 39 00 1B 0C 19", 1},
        {"full direct raster", [](B b, P s) { Cut::orvoGraphic(b, CutType::FullDirect, s, k203); },
         "1B 2A 72 65 38 00 1B 0C 19", 1},
        {"display", [](B b, P s) { Cut::orvoYalme1(b, CutType::Full, s, k203); }, "", -1},
    });
}

TEST(PositionFeedCutCommandTest, Logos) {
    expectCases({
        {"kestrin", [](B b, P s) { Logo::kestrin(b, "A1", 1, 2, s, k203); },
         "1B 1D 28 4C 06 00 30 45 41 31 01 02", 1},
        {"kestrin one character", [](B b, P s) { Logo::kestrin(b, "A", 1, 1, s, k203); }, "", -1},
        {"kestrin control character",
         [](B b, P s) {
             Logo::kestrin(b,
                           "\x01"
                           "A",
                           1, 1, s, k203);
         },
         "", -1},
        {"escpos", [](B b, P s) { Logo::escpos(b, "LG", 3, 0, s, k203); },
         "1D 38 4C 06 00 00 00 30 45 4C 47 02 01", -1},
        {"escpos one character", [](B b, P s) { Logo::escpos(b, "A", 1, 1, s, k203); }, "", -1},
        {"line 5", [](B b, P s) { Logo::orvoCommon(b, "5", 1, 1, s, k203); }, "1B 1C 70 05 30", 1},
        {"line double width", [](B b, P s) { Logo::orvoCommon(b, "255", 2, 1, s, k203); }, "1B 1C 70 FF 31",
         1},
        {"line double height", [](B b, P s) { Logo::orvoCommon(b, "7", 1, 2, s, k203); }, "1B 1C 70 07 32",
         1},
        {"line both", [](B b, P s) { Logo::orvoCommon(b, "7", 2, 2, s, k203); }, "1B 1C 70 07 33", 1},
        {"line abc", [](B b, P s) { Logo::orvoCommon(b, "abc", 1, 1, s, k203); }, "", -1},
        {"line 0", [](B b, P s) { Logo::orvoCommon(b, "0", 1, 1, s, k203); }, "", -1},
        {"line 256", [](B b, P s) { Logo::orvoCommon(b, "256", 1, 1, s, k203); }, "", -1},
        {"line huge", [](B b, P s) { Logo::orvoCommon(b, "99999999999999999999999", 1, 1, s, k203); }, "",
         -1},
        {"mobile 300 clamps", [](B b, P s) { Logo::escposMobile(b, "300", 1, 1, s, k203); }, "1B 66 FF", 1},
        {"mobile -3 clamps", [](B b, P s) { Logo::escposMobile(b, "-3", 1, 1, s, k203); }, "1B 66 00", 1},
        {"mobile text", [](B b, P s) { Logo::escposMobile(b, "x1", 1, 1, s, k203); }, "", -1},
        {"mobile empty", [](B b, P s) { Logo::escposMobile(b, "", 1, 1, s, k203); }, "", -1},
    });
}

}  // namespace
