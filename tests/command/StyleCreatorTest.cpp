#include <gtest/gtest.h>

#include "TestHex.hpp"
#include "prelix10/command/printer/AmbiguousWidthType.hpp"
#include "prelix10/command/printer/Bold.hpp"
#include "prelix10/command/printer/HorizontalTabPositions.hpp"
#include "prelix10/command/printer/InternationalCharacter.hpp"
#include "prelix10/command/printer/SecondPriorityCharacterEncode.hpp"
#include "prelix10/command/printer/SettingCalculatePitch.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;

TEST(StyleCreators, Bold) {
    ByteBuffer buffer;
    PrintSettingsInformation settings;
    Bold::orvoCommon(&buffer, true, &settings, PrinterModel::Harlo599KZ);
    Bold::orvoCommon(&buffer, false, &settings, PrinterModel::Harlo599KZ);
    Bold::escposCommon(&buffer, true, &settings, PrinterModel::Kelto59);
    EXPECT_EQ(hex(buffer), "1B 45 1B 46 1B 45 01");
    EXPECT_TRUE(settings.bold);
    // Page mode without a valid area refuses: no bytes, the record keeps its value.
    ByteBuffer refused;
    PrintSettingsInformation pageMode;
    pageMode.isPageMode = true;
    Bold::orvoCommon(&refused, true, &pageMode, PrinterModel::Harlo599KZ);
    Bold::orvoGraphic(&refused, true, &pageMode, PrinterModel::Harlo599KZ);
    EXPECT_EQ(hex(refused), "");
    EXPECT_FALSE(pageMode.bold);
}

TEST(StyleCreators, InternationalCharacterTable) {
    using I = InternationalCharacterType;
    struct Case {
        I type;
        const char* pagePrinter;
        const char* escpos;
        const char* mobile;
    } cases[] = {
        {I::Usa, "1B 52 00", "1B 52 00", "1B 52 00"},
        {I::Denmark2, "1B 52 0A", "1B 52 0A", "1B 52 0A"},
        {I::Korea, "1B 52 0D", "1B 52 0D", "1B 52 00"},
        {I::Ireland, "1B 52 0E", "1B 52 00", "1B 52 00"},
        {I::Croatia, "1B 52 00", "1B 52 0E", "1B 52 00"},
        {I::Arabic, "1B 52 00", "1B 52 11", "1B 52 00"},
        {I::India, "1B 52 12", "1B 52 12", "1B 52 00"},
        {I::Legal, "1B 52 40", "1B 52 00", "1B 52 00"},
        {static_cast<I>(22), "", "", ""},
    };
    for (const auto& c : cases) {
        ByteBuffer a, b, m;
        PrintSettingsInformation settings;
        InternationalCharacter::orvoCommon(&a, c.type, &settings, PrinterModel::Harlo599KZ);
        InternationalCharacter::escpos(&b, c.type, &settings, PrinterModel::Kelto59);
        InternationalCharacter::escposMobile(&m, c.type, &settings, PrinterModel::Wexal_R799);
        EXPECT_EQ(hex(a), c.pagePrinter) << static_cast<int>(c.type);
        EXPECT_EQ(hex(b), c.escpos) << static_cast<int>(c.type);
        EXPECT_EQ(hex(m), c.mobile) << static_cast<int>(c.type);
    }
}

TEST(StyleCreators, TabStops) {
    struct Case {
        std::vector<int> stops;
        const char* kestrin;
        const char* escpos;
    } cases[] = {
        {{8, 16, 16, 24}, "1B 44 08 10 00", "1B 44 08 10 00"},
        {{}, "1B 44 00", "1B 44 00"},
        {{4, -1, 9}, "1B 44 04 00", "1B 44 04 00"},
        {{250, 300, 400}, "1B 44 FA FF 00", "1B 44 FA FF 00"},
    };
    for (const auto& c : cases) {
        ByteBuffer k, e;
        PrintSettingsInformation settings;
        HorizontalTabPositions::kestrin(&k, c.stops, &settings, PrinterModel::Harlo599KZ);
        HorizontalTabPositions::escposCommon(&e, c.stops, &settings, PrinterModel::Kelto59);
        EXPECT_EQ(hex(k), c.kestrin);
        EXPECT_EQ(hex(e), c.escpos);
        EXPECT_EQ(settings.horizontalTabPositions, c.stops);
    }
    std::vector<int> many;
    for (int i = 1; i <= 40; ++i) many.push_back(i);
    ByteBuffer line, dot, escpos;
    PrintSettingsInformation settings;
    HorizontalTabPositions::orvoLine(&line, many, &settings, PrinterModel::Harlo219KK);
    HorizontalTabPositions::orvoDotImpact(&dot, many, &settings, PrinterModel::Dalix399);
    HorizontalTabPositions::escposCommon(&escpos, many, &settings, PrinterModel::Kelto59);
    EXPECT_EQ(line.getDataSize(), 3u + 16u);
    EXPECT_EQ(dot.getDataSize(), 3u + 32u);
    EXPECT_EQ(escpos.getDataSize(), 3u + 32u);
}

TEST(StyleCreators, EncodingAmbiguousWidthAndPitch) {
    using E = VelmarCommandParser::Encode;
    ByteBuffer buffer;
    PrintSettingsInformation settings;
    SecondPriorityCharacterEncode::orvoCommon(&buffer, E::Korean, &settings, PrinterModel::Harlo599KZ);
    EXPECT_EQ(settings.secondPriorityCharacterEncoding, E::Korean);
    SecondPriorityCharacterEncode::escpos(&buffer, E::CodePage, &settings, PrinterModel::Kelto59);
    SecondPriorityCharacterEncode::escpos(&buffer, E::Japanese, &settings, PrinterModel::Kelto59);
    SecondPriorityCharacterEncode::escposMobile(&buffer, E::CodePage, &settings, PrinterModel::Wexal_R699);
    SecondPriorityCharacterEncode::escposMobile(&buffer, E::Korean, &settings, PrinterModel::Wexal_R699);
    SecondPriorityCharacterEncode::orvoGraphic(&buffer, E::TraditionalChinese, &settings,
                                               PrinterModel::Harlo599ROP);
    EXPECT_EQ(hex(buffer), "1C 2E 1C 26 1C 43 00 1C 43 01");
    EXPECT_EQ(settings.secondPriorityCharacterEncoding, E::TraditionalChinese);

    ByteBuffer width;
    AmbiguousWidthType::orvoCommon(&width, AmbiguousCharacterWidthType::Full, &settings,
                                   PrinterModel::Harlo599KZ);
    EXPECT_EQ(hex(width), "1B 1D 29 55 02 00 40 01");
    ByteBuffer mobile;
    settings.ambiguousCharacterWidthType = AmbiguousCharacterWidthType::Half;
    AmbiguousWidthType::orvoCommon(&mobile, AmbiguousCharacterWidthType::Full, &settings,
                                   PrinterModel::Wexal_R799);
    EXPECT_EQ(hex(mobile), "");
    EXPECT_EQ(settings.ambiguousCharacterWidthType, AmbiguousCharacterWidthType::Full);

    ByteBuffer pitch;
    SettingCalculatePitch::escpos(&pitch, &settings);
    SettingCalculatePitch::escposMobile(&pitch, &settings);
    SettingCalculatePitch::orvoCommon(&pitch, &settings);
    EXPECT_EQ(hex(pitch), "1D 50 B4 B4");
}
