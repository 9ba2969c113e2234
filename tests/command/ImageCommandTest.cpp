#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "command/RasterBandCutter.hpp"
#include "command/RasterCommands.hpp"
#include "command/RunLengthEncoder.hpp"

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

// The printer's side of the run-length form.
Bytes decodeRunLength(const Bytes& encoded) {
    Bytes out;
    std::size_t p = 0;
    while (p < encoded.size()) {
        const std::uint8_t header = encoded[p++];
        EXPECT_TRUE(header & 0x80) << "header at " << p - 1;
        const std::size_t count = header & 0x3F;
        EXPECT_GE(count, 1u);
        if (header & 0x40) {
            out.insert(out.end(), count, encoded.at(p++));
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                out.push_back(encoded.at(p++));
            }
        }
    }
    return out;
}

Bytes encode(const Bytes& plain) {
    Bytes out;
    RunLengthEncoder::encode(plain.data(), plain.size(), out);
    return out;
}

struct Recorder : RasterBandSink {
    std::vector<std::string> events;
    void feed(std::size_t rows) override { events.push_back("feed " + std::to_string(rows)); }
    void band(const std::uint8_t* data, int width, int stride, int rows) override {
        std::string e = "band " + std::to_string(width) + "x" + std::to_string(rows);
        if (stride != width) {
            e += "/" + std::to_string(stride);
        }
        (void)data;
        events.push_back(e);
    }
};

}  // namespace

TEST(RunLengthEncoder, RunsFollowTheStopRules) {
    struct Case {
        Bytes plain;
        const char* encoded;
    } cases[] = {
        {{0x11}, "81 11"},
        {{0x11, 0x11}, "C2 11"},
        {{0x11, 0x22}, "82 11 22"},
        {{0x01, 0x02, 0x03, 0x04, 0x05}, "84 01 02 03 04 81 05"},
        // A repeat run stops before the last byte, which then gets a header of its own.
        {Bytes(10, 0xAA), "C9 AA 81 AA"},
        // 70 equal bytes: a repeat run of 62 first, then the rest by the same rules.
        {Bytes(70, 0x00), "FE 00 C7 00 81 00"},
        // A literal run stops before a pair of equal neighbours.
        {{0x01, 0x02, 0x03, 0x07, 0x07, 0x07, 0x07, 0x09}, "83 01 02 03 C4 07 81 09"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(encode(c.plain)), c.encoded) << hex(c.plain);
    }
}

TEST(RunLengthEncoder, RoundTripsAndStaysWithinBound) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Bytes plain(random() % 700);
        const int alphabet = 1 + static_cast<int>(random() % 4);  // few symbols make runs likely
        for (auto& b : plain) {
            b = static_cast<std::uint8_t>(random() % alphabet);
        }
        const Bytes encoded = encode(plain);
        EXPECT_EQ(decodeRunLength(encoded), plain);
        EXPECT_LE(encoded.size(), RunLengthEncoder::maxEncodedSize(plain.size()));
        for (std::size_t p = 0; p < encoded.size();) {  // no run exceeds 62
            const std::size_t count = encoded[p] & 0x3F;
            ASSERT_LE(count, 62u);
            p += (encoded[p] & 0x40) ? 2 : count + 1;
        }
    }
}

TEST(RasterBandCutter, LeftAlignedPictureTrimsBandsAndFeedsBlankRuns) {
    // Rows: 3 blank, 20 inked (widths vary), 2 blank, 1 inked, 4 blank. Row width 4 bytes.
    const int rowWidth = 4;
    std::vector<int> widths = {0, 0, 0};
    for (int i = 0; i < 20; ++i) {
        widths.push_back(i < 8 ? 1 + i % 2 : (i < 16 ? 3 : 4));
    }
    widths.insert(widths.end(), {0, 0, 2, 0, 0, 0, 0});
    Bytes raster;
    for (int w : widths) {
        for (int b = 0; b < rowWidth; ++b) {
            raster.push_back(b + 1 == w ? 0x80 : 0x00);
        }
    }
    Recorder recorder;
    RasterBandCutter::cut(raster.data(), rowWidth, static_cast<int>(widths.size()), true, 8, 256, recorder);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"feed 3", "band 2x8/4", "band 3x8/4", "band 4x4", "feed 2",
                                                         "band 2x1/4", "feed 4"}));
}

TEST(RasterBandCutter, AlignedPictureGoesOutWholeInFullWidthBands) {
    Bytes raster(3 * 300, 0);
    raster[5] = 0x01;  // mostly blank rows: no feeds, no trimming
    Recorder recorder;
    RasterBandCutter::cut(raster.data(), 3, 300, false, 8, 256, recorder);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"band 3x256", "band 3x44"}));
}

TEST(RasterBandCutter, WorkingRasterCutsWideRowsAndPadsMissingBytes) {
    const Bytes source = {1, 2, 3, 4, 5, 6, 7};  // rows of 3 bytes; the third row is short
    const Bytes raster = RasterBandCutter::workingRaster(source.data(), source.size(), 3, 2, 4);
    EXPECT_EQ(hex(raster), "01 02 04 05 07 00 00 00");
    EXPECT_EQ(RasterBandCutter::usedWidth(raster.data() + 4, 4, 2), 1);
    EXPECT_EQ(RasterBandCutter::usedWidth(raster.data(), 0, 2), 0);
}

TEST(RasterCommands, FeedsAreSplitIntoCommandsThatFit) {
    Bytes out;
    RasterCommands::appendDotFeed(out, 0x49, 600);
    EXPECT_EQ(hex(out), "1B 49 FF 1B 49 FF 1B 49 5A");
    out.clear();
    RasterCommands::appendRasterFeed(out, 80);
    EXPECT_EQ(hex(out), "1B 2A 72 59 38 30 00 00 00");
    out.clear();
    RasterCommands::appendRasterFeed(out, 5000);
    EXPECT_EQ(hex(out), "1B 2A 72 59 32 34 30 30 00 1B 2A 72 59 32 34 30 30 00 1B 2A 72 59 32 30 30 00 00");
}

TEST(RasterCommands, DotImpactPictureSendsEightDotColumns) {
    // An 8x8 diagonal: row r has dot r set, so column c holds only row c.
    const Bytes diagonal = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    Bytes out;
    RasterCommands::appendDotImpactPicture(out, diagonal.data(), diagonal.size(), 8, 8, true);
    EXPECT_EQ(hex(out), "0A 1B 4B 08 00 80 40 20 10 08 04 02 01 1B 4A 08");

    // 300 dots wide, 9 rows: two bands of 248 columns; the rows below the picture are white.
    const Bytes wide(38 * 9 + 38, 0xFF);
    out.clear();
    RasterCommands::appendDotImpactPicture(out, wide.data(), wide.size(), 300, 9, false);
    ASSERT_EQ(out.size(), 2u * (4 + 248 + 3));
    EXPECT_EQ(hex(Bytes(out.begin(), out.begin() + 5)), "1B 4B F8 00 FF");
    EXPECT_EQ(out[255 + 4], 0x80);  // second band: only its top row is part of the picture

    // A width of two thousand million dots reads only the printed part and allocates nothing big.
    out.clear();
    RasterCommands::appendDotImpactPicture(out, diagonal.data(), diagonal.size(), 2000000000, 16, false);
    EXPECT_EQ(out.size(), 2u * (4 + 248 + 3));
}
