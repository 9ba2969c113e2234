// The text command and the width-specified text layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestHex.hpp"
#include "prelix10/command/StrConverter.hpp"
#include "prelix10/command/printer/Text.hpp"
#include "prelix10/command/printer/WidthSpecifiedTextConverter.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;
using VelmarCommandParser::CharStruct;
using ConverterEncode = VelmarCommandParser::Encode;

namespace {

const std::string kUtf8Prefix = "1B 1D 74 80 1B 20 00 1B 73 00 00 1B 74 00 00";

TextWidthParameter width(int cells, TextAlignment alignment = TextAlignment::Left,
                         TextEllipsizeType ellipsize = TextEllipsizeType::None,
                         TextWidthType type = TextWidthType::Half,
                         TextPrintType print = TextPrintType::GoneWhenEmpty) {
    TextWidthParameter p;
    p.widthSpecified = true;
    p.width = cells;
    p.widthType = type;
    p.alignment = alignment;
    p.ellipsizeType = ellipsize;
    p.printType = print;
    return p;
}

struct TextRun {
    std::string bytes;
    bool isLineHead;
};

TextRun pageText(const std::string& content, PrinterModel model, TextWidthParameter p = {},
                 PrintSettingsInformation settings = {}) {
    ByteBuffer b;
    Text::orvoCommon(&b, content, p, model, &settings);
    return {hex(b), settings.isLineHead};
}

TEST(TextCommandTest, PagePrinterUtf8Model) {
    TextRun r = pageText("abc\n", PrinterModel::Harlo599KZ);
    EXPECT_EQ(r.bytes, kUtf8Prefix + " 61 62 63 0A");
    EXPECT_TRUE(r.isLineHead);
    PrintSettingsInformation notAtHead;
    notAtHead.isLineHead = true;
    r = pageText("abc", PrinterModel::Harlo599KZ, {}, notAtHead);
    EXPECT_FALSE(r.isLineHead);
    // Empty text: the UTF-8 switch and the spacing still go out; the line position is unchanged.
    r = pageText("", PrinterModel::Harlo599KZ);
    EXPECT_EQ(r.bytes, kUtf8Prefix);
    EXPECT_TRUE(r.isLineHead);
    // Characters pass as UTF-8; an emoji is dropped.
    r = pageText("\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", PrinterModel::Harlo599KZ);
    EXPECT_EQ(r.bytes, kUtf8Prefix + " C3 A9 E4 B8 AD");
}

TEST(TextCommandTest, PagePrinterCodePageModel) {
    EXPECT_EQ(pageText("\xC3\xA9", PrinterModel::Harlo399KK).bytes, "1B 1D 74 04 82");
    PrintSettingsInformation japanese;
    japanese.secondPriorityCharacterEncoding = ConverterEncode::Japanese;
    EXPECT_EQ(pageText("\xE3\x81\x82"
                       "A",
                       PrinterModel::Harlo399KK, {}, japanese)
                  .bytes,
              "82 A0 41");
    // Width parameters are ignored on these models.
    EXPECT_EQ(pageText("ab", PrinterModel::Harlo399KK, width(6)).bytes, "61 62");
}

TEST(TextCommandTest, ModelsWithoutTextAndPageModeGetNothing) {
    EXPECT_EQ(pageText("abc", PrinterModel::Harlo599KKKY).bytes, "");
    EXPECT_EQ(pageText("abc", PrinterModel::Unknown).bytes, "");
    EXPECT_EQ(pageText("abc", PrinterModel::Yalme1).bytes, "");
    PrintSettingsInformation pageMode;
    pageMode.isPageMode = true;
    EXPECT_EQ(pageText("abc", PrinterModel::Harlo599KZ, {}, pageMode).bytes, "");
}

TEST(TextCommandTest, EscapesAndNul) {
    // \x00 does not cut the text; an incomplete escape at the end is dropped.
    EXPECT_EQ(pageText("a\\x00b\\x41\\x4", PrinterModel::Harlo399KK).bytes, "61 62 41");
    PrintSettingsInformation s;
    s.isLineHead = false;
    ByteBuffer b;
    Text::escpos(&b, "x\\x0A", PrinterModel::Harlo599KZ, &s);
    EXPECT_EQ(hex(b), "78 0A");
    EXPECT_TRUE(s.isLineHead);
}

TEST(TextCommandTest, EscposForms) {
    struct Case {
        const char* label;
        std::string content;
        bool mobile;
        ConverterEncode second;
        std::string bytes;
        bool lineHead;  // expected, starting from a record at line head = false
    };
    for (const Case& c : std::vector<Case>{
             {"line", "abc\n", false, ConverterEncode::CodePage, "61 62 63 0A", true},
             {"no line feed", "abc", false, ConverterEncode::CodePage, "61 62 63", false},
             {"code page", "\xC3\xA9", false, ConverterEncode::CodePage, "1B 1D 74 04 82", false},
             {"code page mobile", "\xC3\xA9", true, ConverterEncode::CodePage, "1B 74 02 82", false},
             {"japanese", "\xE3\x81\x82", false, ConverterEncode::Japanese, "82 A0", false},
             {"korean", "\xEA\xB0\x80\n", true, ConverterEncode::Korean, "B0 A1 0A", true},
             {"emoji only", "\xF0\x9F\x98\x80", false, ConverterEncode::CodePage, "", false},
             {"not in the encoding", "\xE3\x81\x82", false, ConverterEncode::CodePage, "", false},
         }) {
        PrintSettingsInformation s;
        s.isLineHead = false;
        s.secondPriorityCharacterEncoding = c.second;
        ByteBuffer b;
        if (c.mobile) {
            Text::escposMobile(&b, c.content, PrinterModel::Wexal_X759k, &s);
        } else {
            Text::escpos(&b, c.content, PrinterModel::Harlo599KZ, &s);
        }
        EXPECT_EQ(hex(b), c.bytes) << c.label;
        EXPECT_EQ(s.isLineHead, c.lineHead) << c.label;
    }
    PrintSettingsInformation s;
    ByteBuffer b;
    Text::orvoGraphic(&b, "abc", PrinterModel::Harlo599KZ, &s);
    Text::orvoYalme1(&b, "abc", PrinterModel::Yalme1, &s);
    EXPECT_EQ(hex(b), "");
}

TEST(TextCommandTest, EncodeLists) {
    EXPECT_EQ(Text::createDefaultEncodeList(),
              (std::vector<ConverterEncode>{ConverterEncode::SimplifiedChinese,
                                            ConverterEncode::TraditionalChinese, ConverterEncode::Japanese,
                                            ConverterEncode::Korean, ConverterEncode::CodePage}));
    PrintSettingsInformation s;
    s.cjkCharacterPriority = {Encode::Korean, static_cast<Encode>(9), Encode::TraditionalChinese,
                              Encode::Japanese};
    EXPECT_EQ(Text::createEncodeList(&s),
              (std::vector<ConverterEncode>{ConverterEncode::Korean, ConverterEncode::TraditionalChinese,
                                            ConverterEncode::Japanese, ConverterEncode::CodePage}));
}

TEST(TextCommandTest, WidthSpecifiedOnUtf8Models) {
    // Right-aligned in 6 half cells: 4 spaces, then the text.
    EXPECT_EQ(pageText("ab", PrinterModel::Harlo599KZ, width(6, TextAlignment::Right)).bytes,
              kUtf8Prefix + " 20 20 20 20 61 62");
    // Empty text: nothing with GoneWhenEmpty; the full field with Always, and the line is begun.
    TextRun r = pageText("", PrinterModel::Harlo599KZ, width(3));
    EXPECT_EQ(r.bytes, kUtf8Prefix);
    EXPECT_TRUE(r.isLineHead);
    r = pageText(
        "", PrinterModel::Harlo599KZ,
        width(2, TextAlignment::Left, TextEllipsizeType::None, TextWidthType::Full, TextPrintType::Always));
    EXPECT_EQ(r.bytes, kUtf8Prefix + " E3 80 80 E3 80 80");
    EXPECT_FALSE(r.isLineHead);
    // A model without print-width support ignores the field.
    EXPECT_EQ(pageText("ab", PrinterModel::Harlo219KK, width(6, TextAlignment::Right)).bytes,
              kUtf8Prefix + " 61 62");
}

// The CJK priority decides which encoding's ambiguity applies to a character in UTF-8 mode.
TEST(TextCommandTest, AmbiguousWidthFollowsTheEncodingThatHoldsTheCharacter) {
    PrintSettingsInformation s;
    s.cjkCharacterPriority = {Encode::Japanese};
    // U+00B0 is ambiguous: one cell with Half, so three fit a field of 3 half cells.
    TextRun r = pageText("\xC2\xB0\xC2\xB0\xC2\xB0", PrinterModel::Harlo599KZ, width(3), s);
    EXPECT_EQ(r.bytes, kUtf8Prefix + " C2 B0 C2 B0 C2 B0");
    s.ambiguousCharacterWidthType = AmbiguousCharacterWidthType::Full;
    r = pageText("\xC2\xB0\xC2\xB0\xC2\xB0", PrinterModel::Harlo599KZ, width(3), s);
    EXPECT_EQ(r.bytes, kUtf8Prefix + " C2 B0 20");  // two cells each with Full: one fits, one cell of padding
}

// Repeats in the CJK priority change nothing: each encoding is tried once, in order of first mention.
TEST(TextCommandTest, RepeatedPriorityEntriesConvertLikeTheDistinctList) {
    const std::string text = "\xC2\xB0\xE3\x81\x82\xEA\xB0\x80\xF0\x9F\x98\x80\xE4\xB8\x80" "a";
    PrintSettingsInformation distinct;
    distinct.cjkCharacterPriority = {Encode::Korean, Encode::Japanese};
    distinct.ambiguousCharacterWidthType = AmbiguousCharacterWidthType::Full;
    PrintSettingsInformation repeated = distinct;
    std::vector<Encode> priority(1000, Encode::Korean);
    priority.insert(priority.end(), 1000, Encode::Japanese);
    repeated.cjkCharacterPriority = priority;
    for (const TextWidthParameter& p : {TextWidthParameter{}, width(7)}) {
        EXPECT_EQ(pageText(text, PrinterModel::Harlo599KZ, p, repeated).bytes,
                  pageText(text, PrinterModel::Harlo599KZ, p, distinct).bytes);
    }
}

// Converted ASCII and other text as the layout sees it.
std::vector<CharStruct> chars(const std::string& text) {
    std::vector<CharStruct> out;
    VelmarCommandParser::StrConverter::fromUtf8toUtf8(text, Text::createDefaultEncodeList(), out,
                                                      VelmarCommandParser::kEmulationCodeUtf8,
                                                      AmbiguousCharacterWidthType::Half);
    return out;
}

struct Layout {
    std::string bytes;
    bool isLineHead;
};

Layout layout(const std::string& text, TextWidthParameter p, PrintSettingsInformation s = {},
              PrinterModel model = PrinterModel::Harlo599KZ) {
    const WidthSpecifiedTextConverter converter(&s, model);
    ByteBuffer b;
    bool isLineHead = false;
    converter.convert(&b, chars(text), p, isLineHead);
    return {hex(b), isLineHead};
}

TEST(WidthSpecifiedTextTest, CellsFromFontMagnificationAndSpacing) {
    PrintSettingsInformation s;
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).halfCellDots(), 12);
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).fullCellDots(), 24);
    s.font = FontType::B;
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).halfCellDots(), 9);
    s.baseMagnification = BaseMagnificationType::X1_5;
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).halfCellDots(), 14);
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).fullCellDots(), 36);
    s.font = FontType::A;
    s.characterSpace = 1.0;  // 8 dots at 203 dpi, 11 at 300 dpi
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).halfCellDots(), 26);
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Ginor_7).fullCellDots(), 47);
    s.characterSpace = 100.0;
    EXPECT_EQ(WidthSpecifiedTextConverter(&s, PrinterModel::Harlo599KZ).halfCellDots(), 33);
}

TEST(WidthSpecifiedTextTest, AlignmentAndEllipsis) {
    const auto E = "E2 80 A6";
    struct Case {
        const char* label;
        std::string text;
        TextWidthParameter p;
        std::string bytes;
    };
    for (const Case& c : std::vector<Case>{
             {"center", "ABC", width(10, TextAlignment::Center), "20 20 20 20 41 42 43 20 20 20"},
             {"left", "ABC", width(5), "41 42 43 20 20"},
             {"end", "ABCDEFGH", width(5, TextAlignment::Left, TextEllipsizeType::End),
              std::string("41 42 43 44 ") + E},
             {"start", "ABCDEFGH", width(5, TextAlignment::Left, TextEllipsizeType::Start),
              std::string(E) + " 45 46 47 48"},
             {"middle", "ABCDEFGH", width(5, TextAlignment::Left, TextEllipsizeType::Middle),
              std::string("41 42 ") + E + " 47 48"},
             {"middle odd", "ABCDEFGH", width(6, TextAlignment::Left, TextEllipsizeType::Middle),
              std::string("41 42 43 ") + E + " 47 48"},
             {"none cuts", "ABCDEFGH", width(5, TextAlignment::Right, TextEllipsizeType::None),
              "41 42 43 44 45"},
             {"fits: no ellipsis", "ABCDE", width(5, TextAlignment::Left, TextEllipsizeType::End),
              "41 42 43 44 45"},
             {"wide fits exactly",
              "\xE3\x81\x82"
              "A",
              width(3), "E3 81 82 41"},
             {"wide does not fit one cell", "\xE3\x81\x82", width(1), "20"},
             {"full cells", "A", width(2, TextAlignment::Right, TextEllipsizeType::None, TextWidthType::Full),
              "E3 80 80 41"},
             {"zero width", "AB", width(0), ""},
             {"negative width", "AB", width(-4, TextAlignment::Center, TextEllipsizeType::None), ""},
             {"ellipsis alone when nothing fits", "ABC",
              width(1, TextAlignment::Left, TextEllipsizeType::End), E},
             {"line feeds after padding", "AB\n\n", width(4), "41 42 20 20 0A 0A"},
         }) {
        EXPECT_EQ(layout(c.text, c.p).bytes, c.bytes) << c.label;
    }
    // A full-width ambiguous setting reserves a full cell for the ellipsis.
    PrintSettingsInformation s;
    s.ambiguousCharacterWidthType = AmbiguousCharacterWidthType::Full;
    EXPECT_EQ(layout("ABCDEFGH", width(5, TextAlignment::Left, TextEllipsizeType::End), s).bytes,
              std::string("41 42 43 ") + E);
}

TEST(WidthSpecifiedTextTest, LineHeadFlag) {
    EXPECT_TRUE(layout("AB\n", width(4)).isLineHead);
    const WidthSpecifiedTextConverter converter(nullptr, PrinterModel::Harlo599KZ);
    ByteBuffer b;
    bool isLineHead = true;
    converter.convert(&b, chars("AB"), width(4), isLineHead);
    EXPECT_FALSE(isLineHead);
    ByteBuffer none;
    isLineHead = true;
    converter.convert(&none, chars("AB"), width(0), isLineHead);
    EXPECT_EQ(hex(none), "");
    EXPECT_TRUE(isLineHead);  // nothing emitted: unchanged
}

// A document width near the 32-bit limit pads a bounded field, not gigabytes.
TEST(WidthSpecifiedTextTest, HugeWidthIsBounded) {
    const WidthSpecifiedTextConverter converter(nullptr, PrinterModel::Harlo599KZ);
    ByteBuffer b;
    bool isLineHead = true;
    converter.convert(&b, chars("A"),
                      width(INT32_MAX, TextAlignment::Left, TextEllipsizeType::None, TextWidthType::Full),
                      isLineHead);
    EXPECT_LT(b.getDataSize(), 300000u);
}

TEST(WidthSpecifiedTextTest, IsOverflow) {
    const WidthSpecifiedTextConverter converter(nullptr, PrinterModel::Harlo599KZ);
    EXPECT_FALSE(converter.isOverflow(0, {}));
    EXPECT_FALSE(converter.isOverflow(36, chars("ABC")));
    EXPECT_TRUE(converter.isOverflow(35, chars("ABC")));
}

}  // namespace
