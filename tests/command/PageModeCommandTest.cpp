#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PageModeTree.hpp"
#include "TestHex.hpp"
#include "prelix10/command/printer/PageModeArea.hpp"
#include "prelix10/command/printer/PageModeAreaSize.hpp"
#include "prelix10/command/printer/PageModePrintDirection.hpp"
#include "prelix10/command/printer/PageModeStart.hpp"
#include "prelix10/command/printer/VerticalPositionBy.hpp"
#include "prelix10/command/printer/VerticalPositionTo.hpp"

using namespace PageModeTest;
using TestHex::hex;

namespace {

const std::string kBegin = "1B 1D 50 30";
const std::string kUtf8TextPrefix = "1B 1D 74 80 1B 20 00 1B 73 00 00 1B 74 00 00";

// The signed 16-bit values of a run of vertical moves.
std::vector<int> verticalMoves(const std::string& hexText) {
    std::vector<int> values;
    const std::string head = "1B 1D 50 35 ";
    for (std::size_t at = hexText.find(head); at != std::string::npos; at = hexText.find(head, at + 1)) {
        const std::size_t p = at + head.size();
        const int low = std::stoi(hexText.substr(p, 2), nullptr, 16);
        const int high = std::stoi(hexText.substr(p + 3, 2), nullptr, 16);
        values.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(high * 256 + low)));
    }
    return values;
}

int sum(const std::vector<int>& values) {
    int total = 0;
    for (int v : values) total += v;
    return total;
}

void expectArea(const PageModeAreaSize& area, AreaType type, double x, double y, double width, double height,
                double visible, double offset) {
    EXPECT_EQ(area.type, type);
    EXPECT_NEAR(area.x, x, 1e-9);
    EXPECT_NEAR(area.y, y, 1e-9);
    EXPECT_NEAR(area.width, width, 1e-9);
    EXPECT_NEAR(area.height, height, 1e-9);
    EXPECT_NEAR(area.visibleLength, visible, 1e-9);
    EXPECT_NEAR(area.bandOffset, offset, 1e-9);
}

}  // namespace

TEST(PageModeArea, AreaCommandInDots) {
    struct Case {
        PrinterModel model;
        double x, y, width, height;
        const char* bytes;
    } cases[] = {
        {PrinterModel::Harlo599KZ, 0, 0, 72, 100, "1B 1D 50 33 00 00 00 00 40 02 20 03"},
        {PrinterModel::Harlo599KZ, 1, 2, 30, 40, "1B 1D 50 33 08 00 10 00 F0 00 40 01"},
        // Negative corners go out as 0.
        {PrinterModel::Harlo599KZ, -5, -1, 50, 40, "1B 1D 50 33 00 00 00 00 90 01 40 01"},
        // On the 300-dpi model lengths round up: 10 mm is 119 dots, not 118.
        {PrinterModel::Ginor_7, 0, 0, 10, 10, "1B 1D 50 33 00 00 00 00 77 00 77 00"},
        // Dot counts are 16-bit: 10 m is sent as the largest count.
        {PrinterModel::Harlo599KZ, 0, 0, 10000, 10000, "1B 1D 50 33 00 00 00 00 FF FF FF FF"},
        // The page-area minimum is 3 mm.
        {PrinterModel::Harlo599KZ, 0, 0, 2.9, 50, ""},
        {PrinterModel::Harlo599KZ, 0, 0, 3, 3, "1B 1D 50 33 00 00 00 00 18 00 18 00"},
    };
    for (const auto& c : cases) {
        Tree tree("Kestrin", c.model);
        tree.printer->notifyRank(1);
        tree.pageMode->notifyRank(2);
        tree.take();
        tree.pageMode->appendArea(c.x, c.y, c.width, c.height);
        EXPECT_EQ(tree.take(), c.bytes) << c.width << " x " << c.height;
        // Valid or not, the area is recorded for the rest of the block.
        EXPECT_TRUE(tree.top().isPageModeAreaSet);
        EXPECT_DOUBLE_EQ(tree.top().pageModeAreaSize.width, c.width);
    }
}

TEST(PageModeArea, ElementBandOfATinyElementIsSentOneDotWide) {
    PrintSettingsInformation enclosing;
    enclosing.isPageMode = true;
    enclosing.pageModeAreaSize = PageModeAreaSize(AreaType::Page, 0, 0, 72, 100);
    PrintSettingsInformation band = enclosing;
    ByteBuffer buffer;
    PageModeArea::orvoCommon(&buffer, AreaType::ElementBand, 0, 0, 0.01, 0.01, &band, &enclosing,
                             PrinterModel::Harlo599KZ);
    // 0.01 mm rounds to 0 dots and is sent as 1; the band is 24 dots long at least.
    EXPECT_EQ(hex(buffer), "1B 1D 50 33 00 00 00 00 01 00 18 00");
    EXPECT_TRUE(band.pageModeAreaSize.isValid());
}

TEST(PageModeAreaSize, Validity) {
    EXPECT_FALSE(PageModeAreaSize().isValid());
    EXPECT_FALSE(PageModeAreaSize(AreaType::Page, 0, 0, 2.9, 50).isValid());
    EXPECT_TRUE(PageModeAreaSize(AreaType::Page, 0, 0, 3, 3).isValid());
    EXPECT_TRUE(PageModeAreaSize(AreaType::ElementBand, 0, 0, 0.1, 0.1).isValid());
    EXPECT_FALSE(PageModeAreaSize(AreaType::ElementBand, 0, 0, 0.1, 0).isValid());
}

TEST(PageModeAreaSize, NestedAreaIsTheIntersection) {
    const PageModeAreaSize outer(AreaType::Page, 10, 20, 40, 30);
    const auto model = PrinterModel::Harlo599KZ;
    expectArea(
        outer.getUnion(PageModeAreaSize(AreaType::Page, 0, 0, 30, 30), PrintDirection::LeftToRight, model),
        AreaType::Page, 10, 20, 20, 10, 0, 0);
    const auto apart =
        outer.getUnion(PageModeAreaSize(AreaType::Page, 60, 0, 5, 5), PrintDirection::LeftToRight, model);
    EXPECT_LE(apart.width, 0);
    EXPECT_FALSE(apart.isValid());
}

TEST(PageModeAreaSize, ElementBandInEachDirection) {
    // Area 40 x 30 mm at (10, 20); an element of 5 x 1 mm at (2, 3) as the direction sees it. The
    // band is 24 dots (3 mm) long along the direction's rows.
    const PageModeAreaSize e(AreaType::Page, 10, 20, 40, 30);
    const PageModeAreaSize element(AreaType::ElementBand, 2, 3, 5, 1);
    const auto model = PrinterModel::Harlo599KZ;
    expectArea(e.getUnion(element, PrintDirection::LeftToRight, model), AreaType::ElementBand, 12, 23, 5, 3,
               1, 0);
    expectArea(e.getUnion(element, PrintDirection::TopToBottom, model), AreaType::ElementBand, 44, 22, 3, 5,
               1, 0);
    expectArea(e.getUnion(element, PrintDirection::RightToLeft, model), AreaType::ElementBand, 43, 44, 5, 3,
               1, 0);
    expectArea(e.getUnion(element, PrintDirection::BottomToTop, model), AreaType::ElementBand, 13, 43, 3, 5,
               1, 0);
    // A negative offset counts as 0.
    expectArea(
        e.getUnion(PageModeAreaSize(AreaType::ElementBand, -3, 0, 5, 1), PrintDirection::LeftToRight, model),
        AreaType::ElementBand, 10, 20, 5, 3, 1, 0);
}

TEST(PageModeAreaSize, ElementBandIsKeptInsideTheArea) {
    const PageModeAreaSize e(AreaType::Page, 10, 20, 40, 30);
    const auto model = PrinterModel::Harlo599KZ;
    // 1 mm above the bottom edge: the 3 mm band is moved up by 2 mm, which the offset records.
    expectArea(
        e.getUnion(PageModeAreaSize(AreaType::ElementBand, 2, 29, 5, 1), PrintDirection::LeftToRight, model),
        AreaType::ElementBand, 12, 47, 5, 3, 1, 2);
    // Rotated: the band grows to the left and is moved back to the area's left edge.
    expectArea(e.getUnion(PageModeAreaSize(AreaType::ElementBand, 2, 39.5, 5, 1), PrintDirection::TopToBottom,
                          model),
               AreaType::ElementBand, 10, 22, 3, 5, 0.5, 2.5);
    // Outside the area: nothing to draw.
    expectArea(
        e.getUnion(PageModeAreaSize(AreaType::ElementBand, 50, 0, 5, 5), PrintDirection::LeftToRight, model),
        AreaType::ElementBand, 0, 0, 0, 0, 0, 0);
}

TEST(PageModeAreaSize, LongElementIsPaddedToWholeBands) {
    const PageModeAreaSize e(AreaType::Page, 10, 20, 40, 30);
    // 6.25 mm is 50 rows: three bands of 24 hold 72, so the last one is padded by 22 rows (2.75 mm).
    expectArea(e.getUnion(PageModeAreaSize(AreaType::ElementBand, 0, 0, 5, 6.25), PrintDirection::LeftToRight,
                          PrinterModel::Harlo599KZ),
               AreaType::ElementBand, 10, 20, 5, 6.25, 6.25, 2.75);
}

TEST(PageModeCommands, VerticalPositionBy) {
    struct Case {
        PrinterModel model;
        double mm;
        std::vector<int> moves;
    } cases[] = {
        {PrinterModel::Harlo599KZ, 0.05, {}},
        {PrinterModel::Harlo599KZ, -0.875, {-3, -1, -1, -1, -1}},
        {PrinterModel::Harlo599KZ, 1.25, {5, 2, 1, 1, 1}},
        // 1 mm is 11 dots at 300 dpi.
        {PrinterModel::Ginor_7, 1.0, {5, 2, 1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        Tree tree("Kestrin", c.model);
        tree.openPage();
        tree.pageMode->styleVerticalPositionBy(c.mm);
        const std::string bytes = tree.take();
        EXPECT_EQ(verticalMoves(bytes), c.moves) << c.mm;
        EXPECT_EQ(bytes.size(), c.moves.size() * 18 - (c.moves.empty() ? 0 : 1)) << bytes;
    }
    Tree tree;
    tree.openPage();
    tree.pageMode->styleVerticalPositionBy(-0.875);
    EXPECT_EQ(tree.take(),
              "1B 1D 50 35 FD FF 1B 1D 50 35 FF FF 1B 1D 50 35 FF FF 1B 1D 50 35 FF FF 1B 1D 50 35 FF FF");
}

TEST(PageModeCommands, VerticalMovesClampTheDotCountTo16Bits) {
    Tree tree;
    tree.openPage();
    // 5000 mm is 40000 dots: the count is limited to 32767 and every move fits 16 bits.
    tree.pageMode->styleVerticalPositionBy(5000);
    auto moves = verticalMoves(tree.take());
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.front(), 16383);
    EXPECT_EQ(sum(moves), 32767);
    tree.pageMode->styleVerticalPositionBy(-5000);
    moves = verticalMoves(tree.take());
    EXPECT_EQ(moves.front(), -16384);
    EXPECT_EQ(sum(moves), -32768);
    tree.pageMode->styleVerticalPositionBy(1e300);
    EXPECT_EQ(sum(verticalMoves(tree.take())), 32767);
}

TEST(PageModeCommands, VerticalPositionTo) {
    Tree tree;
    tree.openPage();
    tree.pageMode->styleVerticalPositionTo(0);
    EXPECT_EQ(tree.take(), "1B 1D 50 34 00 00");
    tree.pageMode->styleVerticalPositionTo(0.25);
    EXPECT_EQ(tree.take(), "1B 1D 50 34 00 00 1B 1D 50 35 01 00 1B 1D 50 35 01 00");
}

TEST(PageModeCommands, PrintDirection) {
    const std::pair<PrintDirection, const char*> cases[] = {
        {PrintDirection::LeftToRight, "1B 1D 50 32 00"},
        {PrintDirection::TopToBottom, "1B 1D 50 32 03"},
        {PrintDirection::RightToLeft, "1B 1D 50 32 02"},
        {PrintDirection::BottomToTop, "1B 1D 50 32 01"},
        {static_cast<PrintDirection>(7), ""},
    };
    for (const auto& [direction, bytes] : cases) {
        Tree tree;
        tree.openPage();
        tree.pageMode->stylePrintDirection(direction);
        EXPECT_EQ(tree.take(), bytes);
        EXPECT_EQ(tree.top().printDirection,
                  std::string(bytes).empty() ? PrintDirection::LeftToRight : direction);
    }
}

TEST(PageModeCommands, NothingWithoutAValidArea) {
    for (double width : {0.0, 2.9}) {
        Tree tree;
        tree.printer->notifyRank(1);
        tree.pageMode->notifyRank(2);
        if (width > 0) tree.pageMode->appendArea(0, 0, width, 50);
        tree.take();
        tree.pageMode->appendText("abc\n", TextWidthParameter{});
        tree.pageMode->appendTextDecorationBold(true);
        tree.pageMode->styleVerticalPositionBy(5);
        tree.pageMode->styleVerticalPositionTo(5);
        tree.pageMode->stylePrintDirection(PrintDirection::TopToBottom);
        tree.pageMode->appendRuledLine(0, 0, 10, 0, 1, LineStyle::Single);
        tree.pageMode->appendRectangle(0, 0, 10, 10, 1, LineStyle::Single, false, 0);
        tree.pageMode->appendImage("/w==", 0, 0, 8, 1);
        EXPECT_EQ(tree.take(), "");
        // The block ends without printing, and the direction is not reset.
        tree.pageMode->notifyRank(1);
        EXPECT_EQ(tree.take(), "1B 1D 50 31");
    }
}

TEST(PageModeBuilder, LineFeedBeforeBeginOnlyWhenNotAtLineHead) {
    Tree tree;
    tree.printer->notifyRank(1);
    tree.printer->appendText("Hi", TextWidthParameter{});
    tree.take();
    tree.pageMode->notifyRank(2);
    EXPECT_EQ(tree.take(), kUtf8TextPrefix + " 0A " + kBegin + " " + kEnteringStyle);

    Tree atHead;
    atHead.printer->notifyRank(1);
    atHead.printer->appendText("Hi\n", TextWidthParameter{});
    atHead.take();
    atHead.pageMode->notifyRank(2);
    EXPECT_EQ(atHead.take(), kBegin + " " + kEnteringStyle);
}

TEST(PageModeBuilder, EndPrintsTheValidPageAndResetsTheDirection) {
    Tree tree;
    tree.openPage();
    tree.pageMode->appendTextDecorationBold(true);
    tree.pageMode->stylePrintDirection(PrintDirection::TopToBottom);
    tree.take();
    tree.pageMode->notifyRank(1);
    // End with printing, direction back to left to right, then the printer level's style again.
    EXPECT_EQ(tree.take(), "1B 1D 50 37 1B 1D 50 32 00 1B 46");
}

TEST(PageModeBuilder, LineHeadStaysTrueAfterTheEnd) {
    Tree tree;
    tree.openPage();
    tree.pageMode->appendText("A", TextWidthParameter{});
    EXPECT_FALSE(tree.top().isLineHead);
    tree.pageMode->notifyRank(1);
    ASSERT_EQ(tree.root->settingsStack().size(), 1u);
    EXPECT_TRUE(tree.top().isLineHead);
    tree.take();
    // So an alignment right after page mode sends no line feed first.
    tree.printer->appendAlignment(AlignmentType::Center);
    EXPECT_EQ(tree.take(), "1B 1D 61 01");
}

TEST(PageModeBuilder, LineHeadIsKeptWherePageModeSentNothing) {
    const std::pair<const char*, PrinterModel> cases[] = {{"EscPos", PrinterModel::Harlo599KZ},
                                                          {"Kestrin", PrinterModel::Kelto59}};
    for (const auto& [emulation, model] : cases) {
        Tree tree(emulation, model);
        tree.printer->notifyRank(1);
        tree.printer->appendText("Hi", TextWidthParameter{});
        tree.pageMode->notifyRank(2);
        tree.pageMode->appendArea(0, 0, 72, 100);
        tree.pageMode->notifyRank(1);
        // No line feed went out, so the line is still open.
        EXPECT_FALSE(tree.top().isLineHead) << emulation;
    }
}

TEST(PageModeBuilder, NestedBlocks) {
    Tree tree;
    tree.openPage();
    // A nested level begins nothing but sends the style again; its area is cut to the outer one.
    tree.pageMode->notifyRank(3);
    EXPECT_EQ(tree.take(), kEnteringStyle);
    tree.pageMode->appendArea(10, 20, 100, 30);
    EXPECT_EQ(tree.take(), "1B 1D 50 33 50 00 A0 00 F0 01 F0 00");
    tree.pageMode->stylePrintDirection(PrintDirection::RightToLeft);
    tree.take();
    // Closing it sets the outer area and direction again; page mode goes on.
    tree.pageMode->notifyRank(2);
    EXPECT_EQ(tree.take(), kPageArea72x100 + " 1B 1D 50 32 00");

    // A nested area that misses the outer one is recorded but not sent, and its content prints nothing.
    tree.pageMode->notifyRank(3);
    tree.take();
    tree.pageMode->appendArea(80, 0, 10, 10);
    EXPECT_LE(tree.top().pageModeAreaSize.width, 0);
    tree.pageMode->appendText("x\n", TextWidthParameter{});
    EXPECT_EQ(tree.take(), "");
    tree.pageMode->notifyRank(2);
    EXPECT_EQ(tree.take(), kPageArea72x100);
    tree.pageMode->notifyRank(1);
    EXPECT_EQ(tree.take(), "1B 1D 50 37 1B 1D 50 32 00");
}

TEST(PageModeBuilder, NothingOnEmulationsWithoutPageMode) {
    struct Case {
        const char* emulation;
        PrinterModel model;
    } cases[] = {
        {"OrvoLine", PrinterModel::Harlo599KZ},
        {"OrvoGraphic", PrinterModel::Harlo599KZ},
        {"OrvoDot", PrinterModel::Harlo599KZ},
        {"OrvoYalme1", PrinterModel::Harlo599KZ},
        {"EscPos", PrinterModel::Harlo599KZ},
        {"EscPosMobile", PrinterModel::Harlo599KZ},
        // The page printer emulation on a model without page mode.
        {"Kestrin", PrinterModel::Kelto59},
    };
    for (const auto& c : cases) {
        Tree tree(c.emulation, c.model);
        tree.printer->notifyRank(1);
        tree.printer->appendText("Hi", TextWidthParameter{});
        tree.take();
        tree.pageMode->notifyRank(2);
        tree.pageMode->appendArea(0, 0, 72, 100);
        tree.pageMode->stylePrintDirection(PrintDirection::TopToBottom);
        tree.pageMode->appendText("abc\n", TextWidthParameter{});
        tree.pageMode->appendTextDecorationBold(true);
        tree.pageMode->styleVerticalPositionBy(5);
        tree.pageMode->appendRuledLine(0, 0, 10, 0, 1, LineStyle::Single);
        tree.pageMode->appendRectangle(0, 0, 10, 10, 1, LineStyle::Double, true, 4);
        tree.pageMode->appendImage("/w==", 0, 0, 8, 1);
        tree.pageMode->notifyRank(1);
        EXPECT_EQ(tree.take(), "") << c.emulation;
        // The levels were pushed and popped all the same.
        EXPECT_EQ(tree.root->settingsStack().size(), 1u) << c.emulation;
    }
}

TEST(PageModeBuilder, StackPreconditionsAreChecked) {
    Tree tree;
    // No printer level: the page-mode level cannot be opened and nothing happens.
    tree.pageMode->notifyRank(2);
    EXPECT_TRUE(tree.root->settingsStack().empty());
    tree.pageMode->appendArea(0, 0, 72, 100);
    tree.pageMode->appendText("abc", TextWidthParameter{});
    tree.pageMode->stylePrintDirection(PrintDirection::TopToBottom);
    tree.pageMode->appendRectangle(0, 0, 10, 10, 1, LineStyle::Single, false, 0);
    tree.pageMode->notifyRank(0);
    EXPECT_EQ(tree.take(), "");
    // An area needs a level below the page-mode one.
    tree.printer->notifyRank(1);
    tree.take();
    tree.pageMode->appendArea(0, 0, 72, 100);
    EXPECT_EQ(tree.take(), "");
    EXPECT_FALSE(tree.top().isPageModeAreaSet);
    // Page-mode drawings outside page mode draw nothing.
    tree.pageMode->appendRuledLine(0, 0, 10, 0, 1, LineStyle::Single);
    tree.pageMode->appendRectangle(0, 0, 10, 10, 1, LineStyle::Single, false, 0);
    tree.pageMode->appendImage("/w==", 0, 0, 8, 1);
    EXPECT_EQ(tree.take(), "");
    // Rank 0 to the page-mode builder keeps the printer level; the printer builder removes it.
    tree.pageMode->notifyRank(2);
    tree.pageMode->notifyRank(0);
    EXPECT_EQ(tree.root->settingsStack().size(), 1u);
    tree.printer->notifyRank(0);
    EXPECT_TRUE(tree.root->settingsStack().empty());
}

TEST(PageModeCommands, CreatorsRefuseNullArguments) {
    PrintSettingsInformation settings;
    ByteBuffer buffer;
    PageModeArea::orvoCommon(nullptr, AreaType::Page, 0, 0, 72, 100, &settings, nullptr,
                             PrinterModel::Harlo599KZ);
    PageModeArea::orvoCommon(&buffer, AreaType::Page, 0, 0, 72, 100, nullptr, nullptr,
                             PrinterModel::Harlo599KZ);
    PageModeStart::orvoCommon(&buffer, nullptr, PrinterModel::Harlo599KZ);
    PageModePrintDirection::orvoCommon(&buffer, PrintDirection::TopToBottom, nullptr,
                                       PrinterModel::Harlo599KZ);
    VerticalPositionBy::orvoCommon(&buffer, 5, nullptr, PrinterModel::Harlo599KZ);
    VerticalPositionTo::orvoCommon(&buffer, 5, nullptr, PrinterModel::Harlo599KZ);
    // The begin command asks the model itself, since the record it sees is a line-mode one.
    PageModeStart::orvoCommon(&buffer, &settings, PrinterModel::Kelto59);
    EXPECT_EQ(buffer.getDataSize(), 0u);
}
