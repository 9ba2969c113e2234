#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prelix10/command/EncodingTables.hpp"
#include "prelix10/command/StrConverter.hpp"
#include "prelix10/command/UnicodeUtil.hpp"

using namespace VelmarCommandParser;
using PrinterCommandBuilder::Printer::AmbiguousCharacterWidthType;
constexpr auto Half = AmbiguousCharacterWidthType::Half;
constexpr auto Full = AmbiguousCharacterWidthType::Full;

namespace {

std::string hex(const std::vector<CharStruct>& chars) {
    static const char* digits = "0123456789ABCDEF";
    std::string result;
    for (const CharStruct& c : chars) {
        if (!result.empty()) result += ' ';
        for (size_t i = 0; i < c.size; ++i) {
            result += digits[c.bytes[i] >> 4];
            result += digits[c.bytes[i] & 15];
        }
    }
    return result;
}

std::string widths(const std::vector<CharStruct>& chars) {
    std::string result;
    for (const CharStruct& c : chars) result += c.isHalfWidth ? 'h' : 'F';
    return result;
}

struct Case {
    const char* label;
    std::string text;
    std::vector<Encode> encodes;
    VelmarCommandParserEmulation emulation;
    bool utf8Mode;
    bool forDisplay;
    bool ambiguousHalf;
    const char* bytes;  // hex per character, separated by blanks
    const char* widths;
};

// A code that the code-page table puts on the given page.
std::string utf8OfFirstCodeOnPage(int page) {
    const Ucs2Table& table = EncodingTables::ucs2ToCodePageTable();
    for (uint32_t code = 0x80; code < 0x10000; ++code) {
        if ((table[code] >> 8) == page && !(table[code] & 0x8000)) {
            std::string s;
            if (code < 0x800) {
                s += static_cast<char>(0xC0 | (code >> 6));
            } else {
                s += static_cast<char>(0xE0 | (code >> 12));
                s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            }
            s += static_cast<char>(0x80 | (code & 0x3F));
            return s;
        }
    }
    return {};
}

TEST(StrConverterTest, ConvertsByPriorityAndTarget) {
    const Encode J = Encode::Japanese, SC = Encode::SimplifiedChinese, TC = Encode::TraditionalChinese,
                 K = Encode::Korean, CP = Encode::CodePage;
    const std::string e = "\xC3\xA9";          // U+00E9
    const std::string a = "\xE3\x81\x82";      // U+3042
    const std::string deg = "\xC2\xB0";        // U+00B0
    const std::string zhong = "\xE4\xB8\xAD";  // U+4E2D
    const std::string page17 = utf8OfFirstCodeOnPage(17);
    ASSERT_FALSE(page17.empty());
    const std::vector<Case> cases = {
        {"ascii", "A", {J}, 0, false, false, true, "41", "h"},
        {"code page, page printer", e, {CP}, 0, false, false, true, "1B1D740482", "h"},
        {"code page, mobile", e, {CP}, 5, false, false, true, "1B740282", "h"},
        {"code page, display", e, {CP}, 2, false, true, true, "1B523982", "h"},
        {"euro on page 4", "\xE2\x82\xAC", {CP}, 4, false, false, true, "1B1D7404D5", "h"},
        {"page 17 unknown to the display", page17, {CP}, 2, false, true, true, "", ""},
        {"page 17 unknown to mobile", page17, {CP}, 5, false, false, true, "", ""},
        {"page 17 on a page printer", page17, {CP}, 0, false, false, true, "1B1D7411EF", "h"},
        {"hiragana", a, {J}, 0, false, false, true, "82A0", "F"},
        {"hiragana utf8", a, {J}, 2, true, false, true, "E38182", "F"},
        {"degree utf8 half", deg, {J}, 2, true, false, true, "C2B0", "h"},
        {"degree utf8 full", deg, {J}, 2, true, false, false, "C2B0", "F"},
        {"degree in Shift_JIS", deg, {J}, 0, false, false, true, "818B", "F"},
        {"GB18030", zhong, {SC}, 0, false, false, true, "D6D0", "F"},
        {"Big5", zhong, {TC}, 0, false, false, true, "A4A4", "F"},
        {"Korean", "\xEA\xB0\x80", {K}, 0, false, false, true, "B0A1", "F"},
        {"falls back to the code page", e, {J, CP}, 0, false, false, true, "1B1D740482", "h"},
        {"first encoding wins", zhong, {TC, SC, J}, 0, false, false, true, "A4A4", "F"},
        {"held by none: dropped", "\xD4\xB1", {J, CP}, 0, false, false, true, "", ""},
        {"held by none in utf8: passed through wide", "\xD4\xB1", {J, CP}, 2, true, false, true, "D4B1", "F"},
        {"code page in utf8 mode: raw", e, {J, CP}, 2, true, false, true, "C3A9", "h"},
        {"ascii in utf8 mode", "ab", {SC, TC, J, K, CP}, 2, true, false, true, "61 62", "hh"},
        {"empty list skips everything", "ab", {}, 0, false, false, true, "", ""},
        {"emoji", "\xF0\x9F\x98\x80", {J, CP}, 2, true, false, true, "", ""},
        {"NUL does not cut the text", std::string("a\0b", 3), {CP}, 0, false, false, true, "61 62", "hh"},
        {"truncated two-byte at end", "a\xC3", {CP}, 0, false, false, true, "61", "h"},
        {"truncated three-byte then ascii",
         "\xE3\x81"
         "A",
         {J},
         0,
         false,
         false,
         true,
         "41",
         "h"},
        {"stray continuation",
         "\x80\xBF"
         "A",
         {J},
         0,
         false,
         false,
         true,
         "41",
         "h"},
        {"overlong line feed", "\xC0\x8A", {CP}, 0, false, false, true, "", ""},
        {"overlong three-byte",
         "\xE0\x80\x80"
         "A",
         {CP},
         0,
         false,
         false,
         true,
         "41",
         "h"},
        {"surrogate",
         "\xED\xA0\x80"
         "A",
         {CP},
         0,
         false,
         false,
         true,
         "41",
         "h"},
        {"two-byte lead before ascii",
         "\xC3"
         "A",
         {CP},
         0,
         false,
         false,
         true,
         "41",
         "h"},
    };
    for (const Case& c : cases) {
        std::vector<CharStruct> out;
        EXPECT_TRUE(StrConverter::fromUtf8(c.text, c.encodes, out, c.emulation, c.ambiguousHalf ? Half : Full,
                                           c.utf8Mode, c.forDisplay))
            << c.label;
        EXPECT_EQ(hex(out), c.bytes) << c.label;
        EXPECT_EQ(widths(out), c.widths) << c.label;
    }
}

TEST(StrConverterTest, WrappersPassTheirModes) {
    std::vector<CharStruct> out;
    StrConverter::fromUtf8toPrinter("\xC3\xA9", Encode::CodePage, out, 5);
    StrConverter::fromUtf8toDisplay("\xC3\xA9", Encode::CodePage, out);
    StrConverter::fromUtf8toUtf8("\xC2\xB0", {Encode::Japanese}, out, 2, Full);
    EXPECT_EQ(hex(out), "1B740282 1B523982 C2B0");
    EXPECT_EQ(widths(out), "hhF");
}

// The byte form sends exactly the bytes of the character form, in order, for every encoding and
// emulation: ASCII, NUL, characters on other pages, double-byte ones, ones without a form, malformed
// UTF-8 and a cut-off sequence at the end.
TEST(StrConverterTest, PrinterBytesAreTheCharactersBytes) {
    std::string text = "Total \"12\"\n";
    text += std::string("a\0b", 3);
    for (int page : {1, 2, 4, 6, 7, 16, 32, 33}) text += utf8OfFirstCodeOnPage(page);
    text += "\xE4\xB8\xAD\xE6\x96\x87\xEA\xB0\x80\xE3\x81\x82\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC0\xAF\x80\xED\xA0\x80\xE2\x82";
    for (const Encode encode : {Encode::CodePage, Encode::Japanese, Encode::SimplifiedChinese,
                                Encode::TraditionalChinese, Encode::Korean}) {
        for (const VelmarCommandParserEmulation emulation : {0, 2, 4, 5}) {
            std::vector<CharStruct> characters;
            EXPECT_TRUE(StrConverter::fromUtf8toPrinter(text, encode, characters, emulation));
            std::vector<uint8_t> expected;
            for (const CharStruct& c : characters) expected.insert(expected.end(), c.bytes.begin(), c.bytes.begin() + c.size);
            std::vector<uint8_t> bytes = {0x99};
            EXPECT_TRUE(StrConverter::fromUtf8toPrinterBytes(text, encode, bytes, emulation));
            expected.insert(expected.begin(), 0x99);
            EXPECT_EQ(bytes, expected) << static_cast<int>(encode) << " " << emulation;
        }
    }
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(StrConverter::fromUtf8toPrinterBytes("ab", static_cast<Encode>(7), bytes, 0));
    EXPECT_TRUE(bytes.empty());
}

TEST(StrConverterTest, EncodingWithoutTableStopsAndKeepsWhatWasConverted) {
    std::vector<CharStruct> out;
    EXPECT_FALSE(StrConverter::fromUtf8("ab", {static_cast<Encode>(7)}, out, 0, Half, false, false));
    EXPECT_TRUE(out.empty());
    // Stops at the first character that reaches the unknown encoding.
    EXPECT_FALSE(
        StrConverter::fromUtf8("a\xC3\xA9"
                               "b",
                               {Encode::Korean, static_cast<Encode>(7)}, out, 0, Half, false, false));
    EXPECT_EQ(hex(out), "61");
}

TEST(StrConverterTest, ToUcs2ConsumesAndReportsRawBytes) {
    const std::string text = "A\xC3\xA9\xE3\x81\x82\xF0\x9F";
    size_t position = 0;
    uint8_t raw[4];
    size_t rawSize = 0;
    EXPECT_EQ(StrConverter::toUcs2(text, &position, raw, &rawSize), 0x41);
    EXPECT_EQ(position, 1u);
    EXPECT_EQ(StrConverter::toUcs2(text, &position, raw, &rawSize), 0xE9);
    EXPECT_EQ(rawSize, 2u);
    EXPECT_EQ(raw[1], 0xA9);
    EXPECT_EQ(StrConverter::toUcs2(text, &position, raw, &rawSize), 0x3042);
    EXPECT_EQ(position, 6u);
    EXPECT_EQ(StrConverter::toUcs2(text, &position, raw, &rawSize), 0);
    EXPECT_EQ(rawSize, 1u);
    EXPECT_EQ(StrConverter::toUcs2(text, &position, raw, &rawSize), 0);
    EXPECT_EQ(position, text.size());
    EXPECT_EQ(StrConverter::toUcs2(text, &position, raw, &rawSize), 0);  // at the end: nothing consumed
    EXPECT_EQ(position, text.size());
    EXPECT_EQ(rawSize, 0u);
    EXPECT_EQ(StrConverter::from3byteUtf8("\xE3\x81", 0), 0);  // too short
}

TEST(StrConverterTest, PageRemaps) {
    struct Remap {
        int page, display, mobile;
    };
    for (const Remap& r : std::vector<Remap>{{0, 0, 0},
                                             {1, 0, 0},
                                             {2, 49, 1},
                                             {4, 57, 2},
                                             {5, 56, 6},
                                             {7, 0xFE, 7},
                                             {10, 55, 8},
                                             {11, 0xFE, 9},
                                             {17, 0xFE, 0xFE},
                                             {21, 0xFE, 16},
                                             {32, 54, 17},
                                             {33, 0xFE, 0xFE},
                                             {110, 0xFE, 0xFE},
                                             {128, 0xFE, 0xFE},
                                             {200, 0, 0},
                                             {255, 0, 0}}) {
        EXPECT_EQ(StrConverter::toDisplayParameterFromOrvo(static_cast<uint8_t>(r.page)), r.display)
            << r.page;
        EXPECT_EQ(StrConverter::toEscposMobileParameterFromOrvo(static_cast<uint8_t>(r.page)), r.mobile)
            << r.page;
    }
}

TEST(UnicodeUtilTest, AmbiguousBitPerEncoding) {
    EXPECT_TRUE(UnicodeUtil::isAmbiguousCharacter(0x00B0, Encode::Japanese));
    EXPECT_TRUE(UnicodeUtil::isAmbiguousCharacter(0x00B0, Encode::Korean));
    EXPECT_FALSE(UnicodeUtil::isAmbiguousCharacter(0x00B0, Encode::CodePage));
    EXPECT_FALSE(UnicodeUtil::isAmbiguousCharacter(0x3042, Encode::Japanese));
    // U+00E9: in GB18030 (pinyin row) but not in Shift_JIS.
    EXPECT_TRUE(UnicodeUtil::isAmbiguousCharacter(0x00E9, Encode::SimplifiedChinese));
    EXPECT_FALSE(UnicodeUtil::isAmbiguousCharacter(0x00E9, Encode::Japanese));
}

}  // namespace
