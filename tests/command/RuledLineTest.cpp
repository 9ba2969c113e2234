#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "command/RasterCommands.hpp"

using namespace PrinterCommandBuilder::Printer;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string hex(const Bytes& bytes) {
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        s += b;
    }
    return s;
}

}  // namespace

TEST(RuledLineRows, RowsAndDotImpactPasses) {
    EXPECT_EQ(hex(RasterCommands::lineRow(3, 7)), "1F C0");
    EXPECT_EQ(hex(RasterCommands::lineRow(0, 16)), "FF FF");
    EXPECT_EQ(hex(RasterCommands::lineRow(0, 0)), "");
    Bytes out;
    RasterCommands::appendDotImpactLine(out, 1, 2, 10);
    EXPECT_EQ(hex(out), "1B 4B 03 00 00 FF FF 1B 4A 08 1B 4B 03 00 00 C0 C0 1B 4A 02");
}
