#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageModeTree.hpp"
#include "TestHex.hpp"
#include "prelix10/command/printer/Rectangle.hpp"

using namespace PageModeTest;

namespace {

std::string repeat(const std::string& item, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += (i ? " " : "") + item;
    return out;
}

// The moves right that follow an element, as the page-printer horizontal move sends them.
const std::string kRight8Dots = "1B 1D 52 04 00 1B 1D 52 02 00 1B 1D 52 01 00 1B 1D 52 01 00";
const std::string kRight80Dots =
    "1B 1D 52 28 00 1B 1D 52 14 00 1B 1D 52 0A 00 1B 1D 52 05 00 1B 1D 52 02 00 1B 1D 52 01 00 "
    "1B 1D 52 01 00 1B 1D 52 01 00";
const std::string kWholePage = "0,0,576,800";

// The element bands among the area commands (every other one sets the page area again).
std::vector<std::string> bands(const std::string& hex) {
    std::vector<std::string> out;
    for (const auto& area : areaCommands(hex)) {
        if (area != kWholePage) out.push_back(area);
    }
    return out;
}

std::string rectangle(double x, double y, double width, double height, double thickness, LineStyle style,
                      bool round, double radius) {
    Tree tree;
    tree.openPage();
    tree.pageMode->appendRectangle(x, y, width, height, thickness, style, round, radius);
    return tree.take();
}

}  // namespace

TEST(PageModeRuledLine, HorizontalLineBytes) {
    Tree tree;
    tree.openPage();
    tree.pageMode->appendRuledLine(0, 0, 10, 0, 1, LineStyle::Single);
    // A band of 10 mm x 24 dots around the line, 80 columns of 8 black dots, the page area again,
    // then the print position moved past the line.
    EXPECT_EQ(tree.take(), "1B 1D 50 33 00 00 00 00 50 00 18 00 1B 58 50 00 " + repeat("FF 00 00", 80) +
                               " 1B 49 18 " + kPageArea72x100 + " " + kRight80Dots);
}

TEST(PageModeRuledLine, TallElementGoesOutInBandsOf24Rows) {
    Tree tree;
    tree.openPage();
    // 6.25 mm is 50 rows: bands of 24, 24 and 2 rows; the last is sent at the bottom of a full band.
    tree.pageMode->appendRuledLine(0, 0, 0, 6.25, 1, LineStyle::Single);
    const std::string full = repeat("FF FF FF", 8);
    EXPECT_EQ(tree.take(), "1B 1D 50 33 00 00 00 00 08 00 32 00 1B 58 08 00 " + full +
                               " 1B 49 18 1B 58 08 00 " + full + " 1B 49 02 1B 58 08 00 " +
                               repeat("00 00 03", 8) + " 1B 49 18 " + kPageArea72x100 + " " + kRight8Dots);
    EXPECT_FALSE(tree.top().isLineHead);
}

TEST(PageModeRuledLine, DoubleLinesDrawTheSecondLineFirstWhenHorizontal) {
    Tree tree;
    tree.openPage();
    tree.pageMode->appendRuledLine(0, 5, 10, 5, 1, LineStyle::Double);
    EXPECT_EQ(bands(tree.take()), (std::vector<std::string>{"0,56,80,24", "0,40,80,24"}));
    tree.pageMode->appendRuledLine(5, 0, 5, 10, 1, LineStyle::Double);
    EXPECT_EQ(bands(tree.take()), (std::vector<std::string>{"40,0,8,80", "56,0,8,80"}));
}

TEST(PageModeRuledLine, WhatIsDrawn) {
    struct Case {
        double x1, y1, x2, y2, thickness;
        std::vector<std::string> bands;
    } cases[] = {
        {0, 0, 300, 0, 1, {"0,0,2400,24"}},
        {0, 0, 300.5, 0, 1, {}},
        {0, 0, 0, 300, 1, {"0,0,8,2400"}},
        // A thickness above 10 mm draws 10 mm.
        {0, 0, 10, 0, 12, {"0,0,80,80"}},
        // Slanted, a point, backwards, no thickness.
        {0, 0, 10, 1, 1, {}},
        {5, 5, 5, 5, 1, {}},
        {10, 0, 0, 0, 1, {}},
        {0, 0, 10, 0, -1, {}},
        {0, 0, 10, 0, 0, {}},
    };
    for (const auto& c : cases) {
        Tree tree;
        tree.openPage(0, 0, 320, 320);
        tree.pageMode->appendRuledLine(c.x1, c.y1, c.x2, c.y2, c.thickness, LineStyle::Single);
        const std::string bytes = tree.take();
        std::vector<std::string> found;
        for (const auto& area : areaCommands(bytes)) {
            if (area != "0,0,2560,2560") found.push_back(area);
        }
        EXPECT_EQ(found, c.bands) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
        if (c.bands.empty()) {
            EXPECT_EQ(bytes, "");
        }
    }
}

TEST(PageModeRectangle, Limits) {
    struct Case {
        double width, height, thickness;
        LineStyle style;
        bool round;
        double radius;
        bool drawn;
    } cases[] = {
        // A double outline of 1 mm needs 6 mm; with round corners a radius of 3 mm.
        {6, 6, 1, LineStyle::Double, false, 0, true},
        {5.9, 6, 1, LineStyle::Double, false, 0, false},
        {10, 10, 1, LineStyle::Double, true, 3, true},
        {10, 10, 1, LineStyle::Double, true, 2.9, false},
        {10, 10, 1, LineStyle::Single, true, 1, true},
        {10, 10, 1, LineStyle::Single, true, 0.9, false},
        // Two corners must fit each side.
        {10, 10, 1, LineStyle::Single, true, 6, false},
        {10, 10, 1, LineStyle::Single, true, -1, false},
        {300.5, 10, 1, LineStyle::Single, false, 0, false},
        {10, 0, 1, LineStyle::Single, false, 0, false},
        {10, 10, 0, LineStyle::Single, false, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!rectangle(0, 0, c.width, c.height, c.thickness, c.style, c.round, c.radius).empty(),
                  c.drawn)
            << c.width << " x " << c.height << " t " << c.thickness << " r " << c.radius;
    }
    EXPECT_EQ(rectangle(300.5, 0, 10, 10, 1, LineStyle::Single, false, 0), "");
}

TEST(PageModeRectangle, OutlineOrder) {
    // Square corners: top, left, bottom, right; a negative x is drawn at 0.
    EXPECT_EQ(bands(rectangle(-5, 0, 20, 10, 1, LineStyle::Single, false, 0)),
              (std::vector<std::string>{"0,0,160,24", "0,0,8,80", "0,72,160,24", "152,0,8,80"}));
    // Double: the inner outline first, 2 thicknesses inside the outer one and shortened at the corners.
    EXPECT_EQ(bands(rectangle(0, 0, 20, 20, 1, LineStyle::Double, false, 0)),
              (std::vector<std::string>{"16,16,128,24", "16,16,8,128", "16,136,128,24", "136,16,8,128",
                                        "0,0,160,24", "0,0,8,160", "0,152,160,24", "152,0,8,160"}));
    // Round corners: the straight lines stop at the radius, then the corners top left, bottom left,
    // bottom right, top right.
    EXPECT_EQ(bands(rectangle(0, 0, 20, 20, 1, LineStyle::Single, true, 4)),
              (std::vector<std::string>{"32,0,96,24", "0,32,8,96", "32,152,96,24", "152,32,8,96", "0,0,32,32",
                                        "0,128,32,32", "128,128,32,32", "128,0,32,32"}));
    // Round corners with radius 0 are square corners.
    EXPECT_EQ(bands(rectangle(0, 0, 20, 20, 1, LineStyle::Single, true, 0)).size(), 4u);
    // A radius above 30 mm is drawn as 30 mm.
    const auto big = bands(rectangle(0, 0, 70, 70, 1, LineStyle::Single, true, 40));
    ASSERT_EQ(big.size(), 8u);
    EXPECT_EQ(big[4], "0,0,240,240");
}

TEST(PageModeRectangle, CornerImage) {
    const auto rows = [](const std::vector<std::vector<bool>>& image, int size) {
        std::vector<std::string> out;
        for (int i = 0; i < size; ++i) {
            std::string row;
            for (int j = 0; j < size; ++j) row += image[i][j] ? '1' : '0';
            out.push_back(row);
        }
        return out;
    };
    const auto topLeft = Rectangle::createRoundCornerImage(CornerPosition::TopLeft, LineStyle::Single, 4, 1);
    ASSERT_EQ(topLeft.size(), 24u);
    EXPECT_EQ(rows(topLeft, 4), (std::vector<std::string>{"0111", "1000", "1000", "1000"}));
    const auto bottomRight =
        Rectangle::createRoundCornerImage(CornerPosition::BottomRight, LineStyle::Single, 4, 1);
    EXPECT_EQ(rows(bottomRight, 4), (std::vector<std::string>{"0001", "0001", "0001", "1110"}));
    // Only the R x R part is drawn into.
    for (std::size_t i = 0; i < 24; ++i) {
        for (std::size_t j = 4; j < 24; ++j) EXPECT_FALSE(topLeft[i][j] || topLeft[j][i]);
    }
    // A double corner has a second arc two thicknesses inside the first.
    const auto doubled = Rectangle::createRoundCornerImage(CornerPosition::TopLeft, LineStyle::Double, 12, 1);
    EXPECT_EQ(rows(doubled, 12).back(), "101000000000");
    EXPECT_EQ(Rectangle::createRoundCornerImage(CornerPosition::TopLeft, LineStyle::Single, 25, 1).size(),
              48u);
    EXPECT_TRUE(Rectangle::createRoundCornerImage(CornerPosition::TopLeft, LineStyle::Single, 0, 1).empty());
    EXPECT_TRUE(
        Rectangle::createRoundCornerImage(CornerPosition::TopLeft, LineStyle::Single, 1 << 30, 1).empty());
}

TEST(PageModeRectangle, CornerBytes) {
    Tree tree;
    tree.openPage();
    Rectangle::roundCornerLineOrvoPageModeCommon(&tree.buffer, CornerPosition::TopLeft, LineStyle::Single,
                                                 &tree.top(), PrinterModel::Harlo599KZ, 0, 0, 0.125, 0.5);
    // Radius 4 dots: columns 0111, 1000, 1000, 1000 read top down.
    EXPECT_EQ(tree.take(),
              "1B 1D 50 33 00 00 00 00 04 00 18 00 1B 58 04 00 70 00 00 80 00 00 80 00 00 80 00 00 "
              "1B 49 18 " +
                  kPageArea72x100 + " 1B 1D 52 02 00 1B 1D 52 01 00 1B 1D 52 01 00");
}

TEST(PageModeImage, PictureBytes) {
    Tree tree;
    tree.openPage();
    // 8 x 2 dots: rows 10000001 and 11111111.
    tree.pageMode->appendImage("gf8=", 0, 0, 8, 2);
    EXPECT_EQ(tree.take(), "1B 1D 50 33 00 00 00 00 08 00 18 00 1B 58 08 00 C0 00 00 " +
                               repeat("40 00 00", 6) + " C0 00 00 1B 49 18 " + kPageArea72x100 + " " +
                               kRight8Dots);
    EXPECT_FALSE(tree.top().isLineHead);
    // Missing data prints white.
    tree.pageMode->appendImage("", 0, 0, 8, 2);
    EXPECT_NE(tree.take().find("1B 58 08 00 " + repeat("00 00 00", 8) + " 1B 49 18"), std::string::npos);
}

TEST(PageModeImage, TallPictureAndPictureAtTheBottomEdge) {
    Tree tree;
    tree.openPage();
    tree.pageMode->appendImage("//////////////////////////////////////////////////////////////////8=", 0, 0,
                               8, 50);
    const std::string full = repeat("FF FF FF", 8);
    EXPECT_EQ(tree.take(), "1B 1D 50 33 00 00 00 00 08 00 32 00 1B 58 08 00 " + full +
                               " 1B 49 18 1B 58 08 00 " + full + " 1B 49 02 1B 58 08 00 " +
                               repeat("00 00 03", 8) + " 1B 49 18 " + kPageArea72x100 + " " + kRight8Dots);
    // Half a millimetre above the bottom: the band is moved up inside the area and the 4 visible rows
    // are sent at its bottom; then the position moves down by y.
    tree.pageMode->appendImage("//////////8=", 0, 99.5, 8, 8);
    const std::string bytes = tree.take();
    EXPECT_EQ(bytes.substr(0, 3 * 12 - 1), "1B 1D 50 33 00 00 08 03 08 00 18 00");
    EXPECT_NE(bytes.find("1B 58 08 00 " + repeat("00 00 0F", 8) + " 1B 49 18"), std::string::npos);
    EXPECT_NE(bytes.find("1B 1D 50 35"), std::string::npos);
}

TEST(PageModeImage, Limits) {
    struct Case {
        PrinterModel model;
        double x, y;
        int width, height;
        bool drawn;
    } cases[] = {
        {PrinterModel::Harlo599KZ, 0, 0, 2400, 1, true},
        {PrinterModel::Harlo599KZ, 0, 0, 2401, 1, false},
        {PrinterModel::Ginor_7, 0, 0, 3544, 1, true},
        {PrinterModel::Ginor_7, 0, 0, 3545, 1, false},
        {PrinterModel::Harlo599KZ, 0, 0, 0, 1, false},
        {PrinterModel::Harlo599KZ, 0, 0, 8, 0, false},
        {PrinterModel::Harlo599KZ, 0, 0, 8, 80001, false},
        {PrinterModel::Harlo599KZ, 300.5, 0, 8, 1, false},
        {PrinterModel::Harlo599KZ, 0, 300.5, 8, 1, false},
        // Inside the limits but outside the area.
        {PrinterModel::Harlo599KZ, 100, 0, 8, 1, false},
    };
    for (const auto& c : cases) {
        Tree tree("Kestrin", c.model);
        tree.openPage();
        tree.pageMode->appendImage("", c.x, c.y, c.width, c.height);
        EXPECT_EQ(!tree.take().empty(), c.drawn)
            << c.width << " x " << c.height << " at " << c.x << "," << c.y;
    }
}

TEST(PageModeImage, OneAndAHalfBaseSizeIsSwitchedOffAroundThePicture) {
    Tree tree("Kestrin", PrinterModel::Ginor_7);
    tree.openPage();
    tree.pageMode->appendDecorationBaseMagnification(BaseMagnificationType::X1_5);
    tree.take();
    tree.pageMode->appendImage("gf8=", 0, 0, 8, 2);
    const std::string bytes = tree.take();
    const auto standard = bytes.find("1B 1D 29 45 02 00 30 00");
    const auto raster = bytes.find("1B 58 08 00");
    const auto back = bytes.find("1B 1D 29 45 02 00 30 01");
    ASSERT_NE(standard, std::string::npos);
    ASSERT_NE(back, std::string::npos);
    EXPECT_LT(standard, raster);
    EXPECT_LT(raster, back);
    EXPECT_EQ(tree.top().baseMagnification, BaseMagnificationType::X1_5);
}
