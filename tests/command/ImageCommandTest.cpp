#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "MediaCompile.hpp"
#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/RasterBandCutter.hpp"
#include "prelix10/command/RasterCommands.hpp"
#include "prelix10/command/RunLengthEncoder.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/printer/Image.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {

using Bytes = std::vector<std::uint8_t>;
using TestHex::hex;

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
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"feed 3", "band 2x8/4", "band 3x8/4", "band 4x4",
                                                         "feed 2", "band 2x1/4", "feed 4"}));
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

namespace {

std::string base64(const Bytes& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        for (int k = 3; k >= 0; --k) out += alphabet[(v >> (6 * k)) & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = bytes[i] << 16;
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        const unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += "=";
    }
    return out;
}

enum class Emulation { Kestrin, OrvoLine, EscPos, EscPosMobile, OrvoGraphic, OrvoDot };

const char* nameOf(Emulation e) {
    switch (e) {
        case Emulation::Kestrin:
            return "Kestrin";
        case Emulation::OrvoLine:
            return "OrvoLine";
        case Emulation::EscPos:
            return "EscPos";
        case Emulation::EscPosMobile:
            return "EscPosMobile";
        case Emulation::OrvoGraphic:
            return "OrvoGraphic";
        case Emulation::OrvoDot:
            return "OrvoDot";
    }
    return "?";
}

Bytes picture(Emulation e, const std::string& source, int width, int height,
              PrintSettingsInformation& settings, PrinterModel model = PrinterModel::Harlo599KZ) {
    ByteBuffer buffer;
    switch (e) {
        case Emulation::Kestrin:
            Image::kestrin(&buffer, source, width, height, &settings, model);
            break;
        case Emulation::OrvoLine:
            Image::orvoLine(&buffer, source, width, height, &settings, model);
            break;
        case Emulation::EscPos:
            Image::escpos(&buffer, source, width, height, &settings);
            break;
        case Emulation::EscPosMobile:
            Image::escposMobile(&buffer, source, width, height, &settings);
            break;
        case Emulation::OrvoGraphic:
            Image::orvoGraphic(&buffer, source, width, height, &settings);
            break;
        case Emulation::OrvoDot:
            Image::orvoDotImpact(&buffer, source, width, height, &settings);
            break;
    }
    return buffer.toVector();
}

Bytes picture(Emulation e, const Bytes& raster, int width, int height,
              AlignmentType alignment = AlignmentType::Left, PrinterModel model = PrinterModel::Harlo599KZ) {
    PrintSettingsInformation settings;
    settings.alignment = alignment;
    return picture(e, base64(raster), width, height, settings, model);
}

// The printer's side: reads the band and feed commands back into a raster of `byteWidth`-byte rows.
// Fails the test on any byte it does not expect.
struct Reassembled {
    Bytes raster;
    std::vector<std::string> commands;  // "band WxR", "feed N"
};

Reassembled reassemble(Emulation e, const Bytes& out, std::size_t byteWidth) {
    Reassembled r;
    std::size_t p = 0;
    auto need = [&](std::size_t n) {
        if (p + n > out.size()) throw std::runtime_error("truncated at " + std::to_string(p));
    };
    auto rows = [&](const std::uint8_t* data, std::size_t width, std::size_t count) {
        if (width > byteWidth) throw std::runtime_error("band wider than the picture");
        for (std::size_t row = 0; row < count; ++row) {
            r.raster.insert(r.raster.end(), data + row * width, data + row * width + width);
            r.raster.insert(r.raster.end(), byteWidth - width, 0);
        }
        r.commands.push_back("band " + std::to_string(width) + "x" + std::to_string(count));
    };
    auto blank = [&](std::size_t n) {
        r.raster.insert(r.raster.end(), n * byteWidth, 0);
        r.commands.push_back("feed " + std::to_string(n));
    };
    while (p < out.size()) {
        const auto at = [&](std::size_t k) { return out.at(p + k); };
        if (e == Emulation::Kestrin && at(0) == 0x1B && at(1) == 0x1D && at(2) == 0x53 && at(3) == 0x01 &&
            at(8) == 0) {
            const std::size_t w = at(4) | (at(5) << 8), n = at(6) | (at(7) << 8);
            p += 9;
            need(w * n);
            rows(out.data() + p, w, n);
            p += w * n;
        } else if ((e == Emulation::Kestrin && at(0) == 0x1B && at(1) == 0x49) ||
                   ((e == Emulation::EscPos || e == Emulation::EscPosMobile) && at(0) == 0x1B &&
                    at(1) == 0x4A)) {
            blank(at(2));
            p += 3;
        } else if (e == Emulation::EscPos && at(0) == 0x1D && at(1) == 0x76 && at(2) == 0x30 && at(3) == 0) {
            const std::size_t w = at(4) | (at(5) << 8), n = at(6) | (at(7) << 8);
            p += 8;
            need(w * n);
            rows(out.data() + p, w, n);
            p += w * n;
        } else if (e == Emulation::EscPosMobile && at(0) == 0x1B && at(1) == 0x58 &&
                   (at(2) == 0x33 || at(2) == 0x34)) {
            const std::size_t w = at(3), n = at(4);
            const bool compressed = at(2) == 0x33;
            p += 5;
            Bytes plain;
            if (compressed) {
                std::size_t start = p;
                while (plain.size() < w * n) {
                    const std::uint8_t header = out.at(p++);
                    const std::size_t count = header & 0x3F;
                    if (header & 0x40) {
                        plain.insert(plain.end(), count, out.at(p++));
                    } else {
                        for (std::size_t i = 0; i < count; ++i) plain.push_back(out.at(p++));
                    }
                }
                if (p - start >= w * n) throw std::runtime_error("compressed form not shorter");
            } else {
                need(w * n);
                plain.assign(out.begin() + p, out.begin() + p + w * n);
                p += w * n;
            }
            if (plain.size() != w * n) throw std::runtime_error("run crosses the band");
            rows(plain.data(), w, n);
            if (at(0) != 0x1B || at(1) != 0x58 || at(2) != 0x32 || at(3) != n)
                throw std::runtime_error("no print");
            p += 4;
        } else if (e == Emulation::OrvoGraphic && at(0) == 0x62) {
            const std::size_t w = at(1) | (at(2) << 8);
            p += 3;
            need(w);
            rows(out.data() + p, w, 1);
            p += w;
        } else if (e == Emulation::OrvoGraphic && at(0) == 0x1B && at(1) == 0x2A && at(2) == 0x72 &&
                   at(3) == 0x59) {
            need(9);
            std::size_t n = 0;
            for (int k = 4; k < 9 && at(k) != 0; ++k) n = n * 10 + (at(k) - '0');
            if (at(8) != 0) throw std::runtime_error("feed count without its zero");
            blank(n);
            p += 9;
        } else {
            throw std::runtime_error("unexpected byte at " + std::to_string(p));
        }
    }
    return r;
}

std::size_t sumOfFeeds(const Reassembled& r) {
    std::size_t sum = 0;
    for (const auto& c : r.commands) {
        if (c.rfind("feed ", 0) == 0) sum += std::stoul(c.substr(5));
    }
    return sum;
}

}  // namespace

TEST(ImageCommand, OneRowPictureOnEveryEmulation) {
    struct Case {
        Emulation emulation;
        const char* bytes;
    } cases[] = {
        {Emulation::EscPos, "1D 76 30 00 01 00 01 00 FF"},
        {Emulation::Kestrin, "1B 1D 53 01 01 00 01 00 00 FF"},
        {Emulation::OrvoLine, "1B 1D 53 01 01 00 01 00 00 FF"},
        {Emulation::OrvoGraphic, "62 01 00 FF"},
        {Emulation::EscPosMobile, "1B 58 34 01 01 FF 1B 58 32 01"},
        {Emulation::OrvoDot, "1B 4B 08 00 80 80 80 80 80 80 80 80 1B 4A 08"},
    };
    for (const auto& c : cases) {
        PrintSettingsInformation settings;
        EXPECT_EQ(hex(picture(c.emulation, "/w==", 8, 1, settings)), c.bytes) << nameOf(c.emulation);
        // Away from the line head a line feed comes first, except on the raster-only emulation.
        settings.isLineHead = false;
        const std::string expected =
            c.emulation == Emulation::OrvoGraphic ? c.bytes : std::string("0A ") + c.bytes;
        EXPECT_EQ(hex(picture(c.emulation, "/w==", 8, 1, settings)), expected) << nameOf(c.emulation);
        EXPECT_TRUE(settings.isLineHead);
    }
}

TEST(ImageCommand, LeadingBlankRowsBecomeOneFeed) {
    const Bytes raster = {0, 0, 0, 0xFF};
    EXPECT_EQ(hex(picture(Emulation::EscPos, raster, 8, 4)), "1B 4A 03 1D 76 30 00 01 00 01 00 FF");
    EXPECT_EQ(hex(picture(Emulation::Kestrin, raster, 8, 4)), "1B 49 03 1B 1D 53 01 01 00 01 00 00 FF");
    EXPECT_EQ(hex(picture(Emulation::OrvoGraphic, raster, 8, 4)), "1B 2A 72 59 33 00 00 00 00 62 01 00 FF");
    EXPECT_EQ(hex(picture(Emulation::EscPosMobile, raster, 8, 4)), "1B 4A 03 1B 58 34 01 01 FF 1B 58 32 01");
}

TEST(ImageCommand, BandsAreCutAndTrimmedPerEmulation) {
    // 20 inked rows, 3 bytes wide: the first 8 use one byte, the next 8 two, the last 4 three.
    Bytes raster;
    for (int row = 0; row < 20; ++row) {
        const int used = row < 8 ? 1 : row < 16 ? 2 : 3;
        for (int b = 0; b < 3; ++b) raster.push_back(b < used ? 0x81 : 0x00);
    }
    const std::vector<std::string> left = {"band 1x8", "band 2x8", "band 3x4"};
    EXPECT_EQ(reassemble(Emulation::Kestrin, picture(Emulation::Kestrin, raster, 24, 20), 3).commands, left);
    EXPECT_EQ(reassemble(Emulation::EscPos, picture(Emulation::EscPos, raster, 24, 20), 3).commands, left);

    // Centred, 300 rows with blank ones among them: full-width bands of 256 and 44 rows, no feeds.
    Bytes tall(3 * 300, 0);
    tall[0] = 0x80;
    const auto centred =
        reassemble(Emulation::EscPos, picture(Emulation::EscPos, tall, 24, 300, AlignmentType::Center), 3);
    EXPECT_EQ(centred.commands, (std::vector<std::string>{"band 3x256", "band 3x44"}));
    const auto mobile = reassemble(Emulation::EscPosMobile,
                                   picture(Emulation::EscPosMobile, tall, 24, 300, AlignmentType::Right), 3);
    EXPECT_EQ(mobile.commands, (std::vector<std::string>{"band 3x128", "band 3x128", "band 3x44"}));
    const auto raster1 =
        reassemble(Emulation::OrvoGraphic,
                   picture(Emulation::OrvoGraphic, Bytes(3 * 4, 0), 24, 4, AlignmentType::Center), 3);
    EXPECT_EQ(raster1.commands, (std::vector<std::string>(4, "band 3x1")));
}

TEST(ImageCommand, MobileBandsTakeTheShorterForm) {
    // Compressed as long as plain: sent plain.
    const Bytes even = {0xAA, 0xAA, 0xAA, 0xAA, 0x01, 0x02, 0x03, 0x04, 0x05};
    EXPECT_EQ(hex(picture(Emulation::EscPosMobile, even, 72, 1)),
              "1B 58 34 09 01 AA AA AA AA 01 02 03 04 05 1B 58 32 01");
    const Bytes solid(16, 0xFF);
    EXPECT_EQ(hex(picture(Emulation::EscPosMobile, solid, 128, 1)), "1B 58 33 10 01 CF FF 81 FF 1B 58 32 01");
}

TEST(ImageCommand, SizesOutsideTheRangesGiveNothing) {
    struct Case {
        Emulation emulation;
        int width, height;
        PrinterModel model;
    } refused[] = {
        {Emulation::Kestrin, 1025, 1, PrinterModel::Harlo599KZ},
        {Emulation::EscPos, 1025, 1, PrinterModel::Unknown},
        {Emulation::EscPosMobile, 1025, 1, PrinterModel::Unknown},
        {Emulation::OrvoGraphic, 65536, 1, PrinterModel::Unknown},
        {Emulation::Kestrin, 0, 1, PrinterModel::Harlo599KZ},
        {Emulation::EscPos, 8, 0, PrinterModel::Unknown},
        {Emulation::EscPos, 8, 80001, PrinterModel::Unknown},
        {Emulation::Kestrin, 8, 80001, PrinterModel::Harlo599KZ},
        {Emulation::Kestrin, 8, 118111, PrinterModel::Ginor_7},
        {Emulation::OrvoGraphic, 8, 80001, PrinterModel::Unknown},
        {Emulation::OrvoDot, 0, 8, PrinterModel::Unknown},
        {Emulation::OrvoDot, 8, 56694, PrinterModel::Unknown},
        {Emulation::EscPos, -8, 8, PrinterModel::Unknown},
        {Emulation::OrvoDot, 8, -1, PrinterModel::Unknown},
    };
    for (const auto& c : refused) {
        PrintSettingsInformation settings;
        settings.isLineHead = false;
        EXPECT_EQ(hex(picture(c.emulation, "/w==", c.width, c.height, settings, c.model)), "")
            << nameOf(c.emulation) << " " << c.width << "x" << c.height;
        EXPECT_FALSE(settings.isLineHead);
    }
    // The raster-only emulation prints the left 1024 dots of a wider picture.
    const Bytes wide(129, 0xFF);
    const Bytes out = picture(Emulation::OrvoGraphic, wide, 1025, 1);
    EXPECT_EQ(hex(Bytes(out.begin(), out.begin() + 3)), "62 80 00");
    EXPECT_EQ(out.size(), 3u + 128u);
    // The 300-dpi page printer takes 10,000 mm of its own dots.
    PrintSettingsInformation settings;
    EXPECT_FALSE(picture(Emulation::Kestrin, "", 8, 118110, settings, PrinterModel::Ginor_7).empty());
}

TEST(ImageCommand, LongBlankRunsAreFedCompletely) {
    for (Emulation e :
         {Emulation::Kestrin, Emulation::EscPos, Emulation::EscPosMobile, Emulation::OrvoGraphic}) {
        // An empty source reads as white: the whole picture is one blank run.
        PrintSettingsInformation settings;
        const Bytes out = picture(e, "", 16, 80000, settings);
        const auto r = reassemble(e, out, 2);
        EXPECT_EQ(sumOfFeeds(r), 80000u) << nameOf(e);
        EXPECT_GT(r.commands.size(), 1u) << nameOf(e);
    }
    // A blank run between two inked rows, longer than any one feed command.
    Bytes raster(2 * 5002, 0);
    raster[0] = 0xF0;
    raster.back() = 0x0F;
    for (Emulation e :
         {Emulation::Kestrin, Emulation::EscPos, Emulation::EscPosMobile, Emulation::OrvoGraphic}) {
        const auto r = reassemble(e, picture(e, raster, 16, 5002), 2);
        EXPECT_EQ(r.raster, raster) << nameOf(e);
        EXPECT_EQ(sumOfFeeds(r), 5000u) << nameOf(e);
    }
}

TEST(ImageCommand, DotImpactPictureWithAHugeWidthStaysSmall) {
    PrintSettingsInformation settings;
    const Bytes out = picture(Emulation::OrvoDot, base64(Bytes(64, 0xFF)), 2000000000, 16, settings);
    EXPECT_EQ(out.size(), 2u * (4 + 248 + 3));
    EXPECT_EQ(hex(Bytes(out.begin(), out.begin() + 4)), "1B 4B F8 00");
}

namespace {

// A P4 portable bitmap: rows of ceil(width / 8) bytes, most significant bit leftmost, 1 = black.
bool readPbm(const std::filesystem::path& path, int& width, int& height, Bytes& raster) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    in >> magic >> width >> height;
    in.get();
    if (magic != "P4" || width <= 0 || height <= 0) return false;
    raster.resize(static_cast<std::size_t>((width + 7) / 8) * static_cast<std::size_t>(height));
    in.read(reinterpret_cast<char*>(raster.data()), static_cast<std::streamsize>(raster.size()));
    return static_cast<std::size_t>(in.gcount()) == raster.size();
}

}  // namespace

TEST(ImageCommand, BitmapFromImageMagickRoundTrips) {
    if (std::system("command -v convert > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    const auto path = std::filesystem::path(testing::TempDir()) / "prelix10_image_round_trip.pbm";
    // 203 dots wide (not a multiple of 8), with blank rows at the top, in the middle and at the bottom.
    const std::string command =
        "convert -size 203x160 xc:white -fill black -draw 'circle 100,40 100,10' "
        "-draw 'rectangle 150,100 202,130' -draw 'line 0,140 60,150' -monochrome pbm:" +
        path.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    int width = 0, height = 0;
    Bytes source;
    ASSERT_TRUE(readPbm(path, width, height, source));
    std::filesystem::remove(path);
    ASSERT_EQ(width, 203);
    const std::size_t byteWidth = (width + 7) / 8;
    for (Emulation e :
         {Emulation::Kestrin, Emulation::EscPos, Emulation::EscPosMobile, Emulation::OrvoGraphic}) {
        for (AlignmentType alignment : {AlignmentType::Left, AlignmentType::Center}) {
            const Bytes out = picture(e, source, width, height, alignment);
            Reassembled r;
            ASSERT_NO_THROW(r = reassemble(e, out, byteWidth)) << nameOf(e);
            EXPECT_EQ(r.raster, source) << nameOf(e) << " alignment " << static_cast<int>(alignment);
            if (alignment == AlignmentType::Left) {
                EXPECT_GT(sumOfFeeds(r), 0u) << nameOf(e);
            } else {
                EXPECT_EQ(sumOfFeeds(r), 0u) << nameOf(e);
            }
        }
    }
}

TEST(ImageCommand, ThroughTheBuilderTree) {
    // What the tree sends around the picture (defaults when the level opens, restores when it
    // closes, the raster bracket of the raster-only document) is taken from the tree itself; the
    // picture's own bytes sit between.
    struct Case {
        const char* emulation;
        bool insideDocument;
        const char* picture;
    } cases[] = {
        {"EscPos", false, "1D 76 30 00 01 00 01 00 FF"},
        {"Kestrin", false, "1B 1D 53 01 01 00 01 00 00 FF"},
        {"OrvoGraphic", true, "62 01 00 FF"},
        {"OrvoYalme1", false, ""},
    };
    for (const auto& c : cases) {
        ByteBuffer buffer;
        auto root = BuilderFactory(c.emulation, &buffer, PrinterModel::Harlo599KZ).create();
        ASSERT_NE(root, nullptr);
        auto* document = root->getDocumentBuilder();
        auto* printer = root->getPrinterBuilder();
        if (c.insideDocument) document->notifyRank(0);
        printer->notifyRank(c.insideDocument ? 2 : 1);
        const std::size_t before = buffer.getDataSize();
        printer->appendImage("/w==", 8, 1);
        const std::size_t after = buffer.getDataSize();
        printer->notifyRank(0);
        if (c.insideDocument) document->notifyRank(static_cast<std::size_t>(-1));
        const Bytes all = buffer.toVector();
        EXPECT_EQ(hex(Bytes(all.begin() + before, all.begin() + after)), c.picture) << c.emulation;
        if (c.insideDocument) {
            EXPECT_EQ(hex(Bytes(all.begin(), all.begin() + 16)),
                      "1B 2A 72 41 1B 2A 72 50 30 00 1B 2A 72 45 31 00");
            EXPECT_EQ(hex(Bytes(all.end() - 4, all.end())), "1B 2A 72 42");
        }
    }
}

TEST(ImageCommand, CompileDocToolMustShow) {
    const std::string doc = MediaCompile::document(
        R"({"method":"Action.Print.Image","parameter":{"source":"/w==","width":8,"height":1}})");
    const std::string empty = MediaCompile::document("");
    struct Case {
        const char* emulation;
        const char* picture;
    } cases[] = {
        {"EscPos", "1D 76 30 00 01 00 01 00 FF"},
        {"Kestrin", "1B 1D 53 01 01 00 01 00 00 FF"},
        {"OrvoGraphic", "62 01 00 FF"},
        {"EscPosMobile", "1B 58 34 01 01 FF 1B 58 32 01"},
    };
    for (const auto& c : cases) {
        const Bytes out = MediaCompile::compileDocTool(c.emulation, "Harlo599KZ", doc);
        ASSERT_FALSE(out.empty()) << c.emulation;
        EXPECT_TRUE(MediaCompile::holds(out, MediaCompile::compileDocTool(c.emulation, "Harlo599KZ", empty),
                                        c.picture))
            << c.emulation;
    }
    // The raster-only emulation has no defaults: raster start, the row, raster end.
    EXPECT_EQ(hex(MediaCompile::compileDocTool("OrvoGraphic", "Harlo599KZ", doc)),
              "1B 2A 72 41 1B 2A 72 50 30 00 1B 2A 72 45 31 00 62 01 00 FF 1B 2A 72 42");
}

TEST(ImageCommand, ThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    const auto image = [](const std::string& source, const std::string& size) {
        return R"({"method":"Action.Print.Image","parameter":{"source":")" + source + "\"" + size + "}}";
    };
    const Bytes empty = MediaCompile::compile("", OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ);
    const auto holds = [&](const std::string& items, const std::string& expected) {
        return MediaCompile::holds(
            MediaCompile::compile(items, OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ), empty,
            expected);
    };
    // Width and height default to 0, which prints nothing; a mistyped size skips the method.
    EXPECT_TRUE(holds(image("/w==", ""), ""));
    EXPECT_TRUE(holds(image("/w==", R"(,"width":"8","height":1)"), ""));
    EXPECT_TRUE(holds(image("/w==", R"(,"width":8.9,"height":1)"), "1D 76 30 00 01 00 01 00 FF"));
    EXPECT_TRUE(holds(image("/w==", R"(,"width":1e12,"height":1)"), ""));

    // A bitmap takes the whole road, Base64 in the document, and comes out as the creator makes it.
    Bytes raster(3 * 40, 0);
    for (int row = 5; row < 30; ++row)
        raster[row * 3 + row % 3] = static_cast<std::uint8_t>(0x80 >> (row % 8));
    const std::string size = R"(,"width":20,"height":40)";
    EXPECT_TRUE(holds(image(base64(raster), size), hex(picture(Emulation::EscPos, raster, 20, 40))));
    EXPECT_TRUE(holds(
        R"({"method":"Style.Alignment","parameter":{"position":"Center"}},)" + image(base64(raster), size),
        "1B 61 01 " + hex(picture(Emulation::EscPos, raster, 20, 40, AlignmentType::Center)) + " 1B 61 00"));
}
