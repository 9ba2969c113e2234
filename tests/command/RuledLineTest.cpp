#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "MediaCompile.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/RasterCommands.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/printer/RuledLine.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {

using Bytes = std::vector<std::uint8_t>;
using TestHex::hex;

}  // namespace

TEST(RuledLineRows, RowsAndDotImpactPasses) {
    EXPECT_EQ(hex(RasterCommands::lineRow(3, 7)), "1F C0");
    EXPECT_EQ(hex(RasterCommands::lineRow(0, 16)), "FF FF");
    EXPECT_EQ(hex(RasterCommands::lineRow(0, 0)), "");
    Bytes out;
    RasterCommands::appendDotImpactLine(out, 1, 2, 10);
    EXPECT_EQ(hex(out), "1B 4B 03 00 00 FF FF 1B 4A 08 1B 4B 03 00 00 C0 C0 1B 4A 02");
}

namespace {

enum class Family { PagePrinter, DotImpact, EscPos, EscPosMobile, OrvoGraphic, OrvoYalme1 };

std::string line(Family family, double x, double width, double thickness, LineStyle style = LineStyle::Single,
                 PrinterModel model = PrinterModel::Harlo599KZ,
                 PrintSettingsInformation* settings = nullptr) {
    PrintSettingsInformation fresh;
    if (settings == nullptr) settings = &fresh;
    ByteBuffer buffer;
    switch (family) {
        case Family::PagePrinter:
            RuledLine::orvoCommon(&buffer, x, width, thickness, style, settings, model);
            break;
        case Family::DotImpact:
            RuledLine::orvoDotImpact(&buffer, x, width, thickness, style, settings, model);
            break;
        case Family::EscPos:
            RuledLine::escpos(&buffer, x, width, thickness, style, settings, model);
            break;
        case Family::EscPosMobile:
            RuledLine::escposMobile(&buffer, x, width, thickness, style, settings, model);
            break;
        case Family::OrvoGraphic:
            RuledLine::orvoGraphic(&buffer, x, width, thickness, style, settings, model);
            break;
        case Family::OrvoYalme1:
            RuledLine::orvoYalme1(&buffer, x, width, thickness, style, settings, model);
            break;
    }
    return hex(buffer.toVector());
}

}  // namespace

TEST(RuledLine, SingleAndDoubleLinesPerEmulation) {
    struct Case {
        Family family;
        double x, width, thickness;
        LineStyle style;
        PrinterModel model;
        const char* bytes;
    } cases[] = {
        {Family::EscPos, 0, 1, 0.25, LineStyle::Single, PrinterModel::Harlo599KZ,
         "1D 76 30 00 01 00 02 00 FF FF 1B 4A 08"},
        {Family::EscPos, 0, 1, 0.25, LineStyle::Double, PrinterModel::Harlo599KZ,
         "1D 76 30 00 01 00 02 00 FF FF 1B 4A 02 1D 76 30 00 01 00 02 00 FF FF 1B 4A 08"},
        {Family::PagePrinter, 1, 1, 0.125, LineStyle::Single, PrinterModel::Harlo599KZ,
         "1B 1D 53 01 02 00 01 00 00 00 FF 1B 49 08"},
        {Family::PagePrinter, 0, 1, 0.1, LineStyle::Single, PrinterModel::Ginor_7,  // 300 dpi: 12 dots a mm
         "1B 1D 53 01 02 00 01 00 00 FF F0 1B 49 0C"},
        {Family::EscPosMobile, 0, 1, 0.25, LineStyle::Single, PrinterModel::Wexal_D699,
         "1B 58 33 01 02 C2 FF 1B 58 32 02 1B 4A 08"},
        {Family::EscPosMobile, 0, 1, 0.25, LineStyle::Double, PrinterModel::Wexal_D699,
         "1B 58 33 01 02 C2 FF 1B 58 32 02 1B 4A 02 1B 58 33 01 02 C2 FF 1B 58 32 02 1B 4A 08"},
        {Family::OrvoGraphic, 0, 1, 0.25, LineStyle::Single, PrinterModel::Harlo599KZ,
         "62 01 00 FF 62 01 00 FF 1B 2A 72 59 38 00 00 00 00"},
        {Family::DotImpact, 0, 0.9, 0.35, LineStyle::Single, PrinterModel::Harlo599KZ,
         "1B 4B 03 00 80 80 80 1B 4A 01 1B 49 06"},
        {Family::DotImpact, 0, 0.9, 0.35, LineStyle::Double, PrinterModel::Harlo599KZ,
         "1B 4B 03 00 80 80 80 1B 4A 01 1B 49 02 1B 4B 03 00 80 80 80 1B 4A 01 1B 49 06"},
        // A negative x puts the line at the left edge.
        {Family::EscPos, -5, 1, 0.125, LineStyle::Single, PrinterModel::Harlo599KZ,
         "1D 76 30 00 01 00 01 00 FF 1B 4A 08"},
        {Family::OrvoYalme1, 0, 1, 0.25, LineStyle::Single, PrinterModel::Yalme1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(line(c.family, c.x, c.width, c.thickness, c.style, c.model), c.bytes)
            << static_cast<int>(c.family) << " style " << static_cast<int>(c.style);
    }
}

TEST(RuledLine, FrameAndLimits) {
    PrintSettingsInformation settings;
    settings.isLineHead = false;
    EXPECT_EQ(line(Family::EscPos, 0, 1, 0.125, LineStyle::Single, PrinterModel::Harlo599KZ, &settings),
              "0A 1D 76 30 00 01 00 01 00 FF 1B 4A 08");
    EXPECT_TRUE(settings.isLineHead);

    // A thickness of 12 mm draws 10 mm: 80 rows.
    EXPECT_EQ(line(Family::EscPos, 0, 1, 12).substr(0, 23), "1D 76 30 00 01 00 50 00");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Refused {
        double x, width, thickness;
        PrinterModel model;
    } refused[] = {
        {0, 0, 1, PrinterModel::Harlo599KZ},      {0, 1, 0, PrinterModel::Harlo599KZ},
        {0, -1, 1, PrinterModel::Harlo599KZ},     {100, 30, 1, PrinterModel::Harlo599KZ},  // 130 mm > 128 mm
        {-100, 200, 1, PrinterModel::Harlo599KZ},  // tested with x as drawn, at the left edge
        {0, 86.8, 1, PrinterModel::Ginor_7},      {nan, 1, 1, PrinterModel::Harlo599KZ},
        {0, nan, 1, PrinterModel::Harlo599KZ},    {0, 1, nan, PrinterModel::Harlo599KZ},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(RuledLine::checkInvalidParameter(r.model, r.x, r.width, r.thickness))
            << r.x << " " << r.width;
        for (Family f : {Family::PagePrinter, Family::DotImpact, Family::EscPos, Family::EscPosMobile,
                         Family::OrvoGraphic}) {
            PrintSettingsInformation away;
            away.isLineHead = false;
            EXPECT_EQ(line(f, r.x, r.width, r.thickness, LineStyle::Double, r.model, &away), "");
            EXPECT_FALSE(away.isLineHead);
        }
    }
    EXPECT_TRUE(RuledLine::checkInvalidParameter(PrinterModel::Harlo599KZ, 100, 28, 1));
    EXPECT_TRUE(RuledLine::checkInvalidParameter(PrinterModel::Harlo599KZ, 0, 86.8, 1));
    EXPECT_TRUE(RuledLine::checkInvalidParameter(PrinterModel::Harlo599KZ, -100, 128, 1));
    // The widest line still fits the mobile command's one-byte width.
    EXPECT_EQ(line(Family::EscPosMobile, 0, 128, 0.125).substr(0, 14), "1B 58 33 80 01");
}

TEST(RuledLine, ThroughTheCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    using Prelix10::OrvoPrinterModel;
    const auto item = [](const std::string& style) {
        return R"({"method":"Action.Print.RuledLine","parameter":{"x":0,"width":1,"thickness":0.25,"lineStyle":")" +
               style + "\"}}";
    };
    const auto compiles = [](const std::string& items, OrvoPrinterEmulation emulation,
                             const std::string& expected) {
        return MediaCompile::holds(MediaCompile::compile(items, emulation, OrvoPrinterModel::harlo599KZ),
                                   MediaCompile::compile("", emulation, OrvoPrinterModel::harlo599KZ),
                                   expected);
    };
    EXPECT_TRUE(
        compiles(item("Single"), OrvoPrinterEmulation::escPos, "1D 76 30 00 01 00 02 00 FF FF 1B 4A 08"));
    EXPECT_TRUE(
        compiles(item("Double"), OrvoPrinterEmulation::kestrin,
                 "1B 1D 53 01 01 00 02 00 00 FF FF 1B 49 02 1B 1D 53 01 01 00 02 00 00 FF FF 1B 49 08"));
    EXPECT_TRUE(compiles(item("single"), OrvoPrinterEmulation::escPos, ""));
}
