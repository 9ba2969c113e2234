#include <gtest/gtest.h>

#include "command/PrintableAreaTable.hpp"

using PrinterCommandBuilder::Document::PrintableAreaTable;

TEST(PrintableAreaTable, ChoosesTheNarrowestWidthThatHoldsTheDots) {
    struct Case {
        int model;
        int dots;
        int code;  // -1: no command
    } cases[] = {
        {6, 576, 0}, {6, 408, 1}, {6, 640, 0},  // no width reaches 640: the widest wins
        {36, 432, 1},                            // 432->1 and 432->54 tie: the earlier wins
        {36, 464, 0x3A}, {20, 850, 4}, {31, 155, 1}, {32, 0, 40}, {21, 121, 16},
        {24, 576, -1}, {38, 576, -1}, {0, 576, -1}, {1, 576, -1},
    };
    for (const auto& c : cases) {
        const auto code = PrintableAreaTable::chooseCode(c.model, c.dots);
        if (c.code < 0) {
            EXPECT_FALSE(code.has_value()) << c.model;
        } else {
            ASSERT_TRUE(code.has_value()) << c.model;
            EXPECT_EQ(*code, c.code) << c.model << " " << c.dots;
        }
    }
}
