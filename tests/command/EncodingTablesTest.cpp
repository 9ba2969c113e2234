// Cross-checks the generated conversion tables against glibc iconv, character by character.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "prelix10/command/EncodingTables.hpp"

using VelmarCommandParser::EncodingTables;
using VelmarCommandParser::Ucs2Table;

namespace {

// The bytes glibc encodes one BMP code to, empty when the charset lacks it.
class Encoder {
  public:
    explicit Encoder(const char* charset) : cd_(iconv_open(charset, "UTF-32LE")) {}
    ~Encoder() {
        if (ok()) iconv_close(cd_);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::string encode(uint32_t code) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[4] = {static_cast<char>(code), static_cast<char>(code >> 8), static_cast<char>(code >> 16),
                      0};
        char out[16];
        char* inPtr = in;
        char* outPtr = out;
        size_t inLeft = 4;
        size_t outLeft = sizeof(out);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return {};
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
        return std::string(out, sizeof(out) - outLeft);
    }

  private:
    iconv_t cd_;
};

bool isSurrogate(uint32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}
bool isPrivateUse(uint32_t code) {
    return code >= 0xE000 && code <= 0xF8FF;
}

std::string twoBytes(uint16_t value) {
    return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string result;
    for (unsigned char c : bytes) {
        result += digits[c >> 4];
        result += digits[c & 15];
    }
    return result;
}

void expectAsciiIdentity(const Ucs2Table& table) {
    EXPECT_EQ(table[0], 0);
    for (uint32_t code = 1; code < 0x80; ++code) {
        ASSERT_EQ(table[code], code);
    }
}

size_t countTwoByte(const Ucs2Table& table) {
    size_t count = 0;
    for (uint16_t value : table) count += (value & 0x8000) ? 1 : 0;
    return count;
}

struct TwoByteCase {
    const char* name;
    const Ucs2Table& (*table)();
    const char* charset;
    bool (*leadAllowed)(uint8_t lead);
    size_t expectedCount;
};

bool anyLead(uint8_t) {
    return true;
}
bool japaneseLead(uint8_t lead) {
    return (lead >= 0x81 && lead <= 0x84) || (lead >= 0x87 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA);
}
bool koreanWithoutHanja(uint8_t lead) {
    return lead < 0xCA || lead > 0xFD;
}

class TwoByteTableTest : public ::testing::TestWithParam<TwoByteCase> {};

// Every entry equals glibc's encoding, and every two-byte code of glibc's repertoire (within the rows
// kept, outside the private use area) is in the table.
TEST_P(TwoByteTableTest, MatchesIconvForEveryCharacter) {
    const TwoByteCase& c = GetParam();
    const Ucs2Table& table = c.table();
    Encoder encoder(c.charset);
    ASSERT_TRUE(encoder.ok()) << c.charset;
    expectAsciiIdentity(table);
    size_t mismatches = 0;
    for (uint32_t code = 0x80; code < 0x10000; ++code) {
        const uint16_t value = table[code];
        if (isSurrogate(code)) {
            EXPECT_EQ(value, 0);
            continue;
        }
        const std::string expected = encoder.encode(code);
        const bool held =
            expected.size() == 2 && !isPrivateUse(code) && c.leadAllowed(static_cast<uint8_t>(expected[0]));
        if (held) {
            if (value == 0 || (value & 0x8000) == 0 || twoBytes(value) != expected) {
                ADD_FAILURE() << c.name << " U+" << std::hex << code << " table " << value << " iconv "
                              << hex(expected);
                ++mismatches;
            }
        } else if (value != 0) {
            ADD_FAILURE() << c.name << " U+" << std::hex << code << " table " << value << " not in iconv's "
                          << hex(expected);
            ++mismatches;
        }
        if (mismatches > 20) break;
    }
    EXPECT_EQ(countTwoByte(table), c.expectedCount);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TwoByteTableTest,
    ::testing::Values(
        TwoByteCase{"ShiftJis", &EncodingTables::ucs2ToShiftJisTable, "CP932", &japaneseLead, 6960},
        TwoByteCase{"Gb18030", &EncodingTables::ucs2ToGb18030Table, "GB18030", &anyLead, 21891},
        TwoByteCase{"Big5", &EncodingTables::ucs2ToBig5Table, "BIG5", &anyLead, 13493},
        TwoByteCase{"Korean", &EncodingTables::ucs2ToKoreanTable, "EUC-KR", &koreanWithoutHanja, 3340}),
    [](const ::testing::TestParamInfo<TwoByteCase>& info) { return std::string(info.param.name); });

// The Japanese table holds all of plain Shift_JIS (JIS X 0208), keeps 5C and 7E as ASCII, and reaches
// the Windows forms of the same codes.
TEST(EncodingTablesTest, JapaneseHoldsShiftJisRepertoire) {
    const Ucs2Table& table = EncodingTables::ucs2ToShiftJisTable();
    Encoder shiftJis("SHIFT_JIS");
    ASSERT_TRUE(shiftJis.ok());
    for (uint32_t code = 0x80; code < 0x10000; ++code) {
        if (isSurrogate(code)) continue;
        const std::string bytes = shiftJis.encode(code);
        if (bytes.size() == 2) {
            ASSERT_EQ(hex(twoBytes(table[code])), hex(bytes)) << std::hex << code;
        }
    }
    EXPECT_EQ(table[0x5C], 0x5C);
    EXPECT_EQ(table[0x7E], 0x7E);
    EXPECT_EQ(table[0x00A5], 0);  // yen: single byte in Shift_JIS, left to the code pages
    EXPECT_EQ(table[0xFF61], 0);  // half-width katakana likewise
    EXPECT_EQ(table[0x3042], 0x82A0);
    EXPECT_EQ(table[0x301C], 0x8160);
    EXPECT_EQ(table[0xFF5E], 0x8160);
    EXPECT_EQ(table[0x2460], 0x8740);  // circled digit one
    EXPECT_EQ(table[0x2170], 0);       // small roman numeral: IBM extension row, left out
}

// The code pages, by the printers' page numbers, with the charset glibc knows them by.
struct CodePage {
    int page;
    const char* charset;
};
const std::vector<CodePage>& codePagesInPriorityOrder() {
    static const std::vector<CodePage> pages = {
        {4, "CP858"},     {1, "CP437"},  {32, "CP1252"}, {5, "CP852"},  {10, "CP866"},
        {2, "SHIFT_JIS"}, {11, "CP855"}, {12, "CP857"},  {13, "CP862"}, {14, "CP864"},
        {21, "CP874"},    {17, "CP869"}, {33, "CP1250"}, {34, "CP1251"}};
    return pages;
}

// A page holds a code when glibc encodes it there as one byte of 80-FF (katakana: A1-DF only).
int pageByte(Encoder& encoder, int page, uint32_t code) {
    const std::string bytes = encoder.encode(code);
    if (bytes.size() != 1) return -1;
    const auto byte = static_cast<uint8_t>(bytes[0]);
    if (byte < 0x80) return -1;
    if (page == 2 && (byte < 0xA1 || byte > 0xDF)) return -1;
    return byte;
}

// Each code goes to the first page of the priority order that holds it, with glibc's byte; no code that
// some page holds is missing.
TEST(EncodingTablesTest, CodePageTableMatchesIconvInPriorityOrder) {
    const Ucs2Table& table = EncodingTables::ucs2ToCodePageTable();
    expectAsciiIdentity(table);
    std::vector<std::unique_ptr<Encoder>> encoders;
    for (const CodePage& page : codePagesInPriorityOrder()) {
        encoders.push_back(std::make_unique<Encoder>(page.charset));
        ASSERT_TRUE(encoders.back()->ok()) << page.charset;
    }
    std::map<int, int> perPage;
    size_t mismatches = 0;
    for (uint32_t code = 0x80; code < 0x10000 && mismatches < 20; ++code) {
        if (isSurrogate(code)) continue;
        int expected = 0;
        if (!isPrivateUse(code)) {
            for (size_t i = 0; i < encoders.size(); ++i) {
                const int page = codePagesInPriorityOrder()[i].page;
                const int byte = pageByte(*encoders[i], page, code);
                if (byte >= 0) {
                    expected = (page << 8) | byte;
                    break;
                }
            }
        }
        if (table[code] != expected) {
            ADD_FAILURE() << "U+" << std::hex << code << " table " << table[code] << " expected " << expected;
            ++mismatches;
        }
        if (expected != 0) ++perPage[expected >> 8];
    }
    EXPECT_EQ(table[0x00E9], 0x0482);
    EXPECT_EQ(table[0x20AC], 0x04D5);
    EXPECT_EQ(table[0xFF71], 0x02B1);  // half-width katakana a
    EXPECT_EQ(perPage[4], 128);
    EXPECT_EQ(perPage.count(110) + perPage.count(111), 0u);
}

TEST(EncodingTablesTest, AmbiguousFlagsFollowTheTwoByteTables) {
    size_t entries = 0;
    size_t allFour = 0;
    const Ucs2Table* bitTables[4] = {
        &EncodingTables::ucs2ToGb18030Table(), &EncodingTables::ucs2ToShiftJisTable(),
        &EncodingTables::ucs2ToBig5Table(), &EncodingTables::ucs2ToKoreanTable()};
    for (uint32_t code = 0; code < 0x10000; ++code) {
        const uint8_t flags = EncodingTables::ambiguousFlags(static_cast<uint16_t>(code));
        if (flags == 0) continue;
        ++entries;
        allFour += flags == 0xF ? 1 : 0;
        EXPECT_GE(code, 0x00A1u);
        EXPECT_LE(code, 0x25A0u);
        for (int bit = 0; bit < 4; ++bit) {
            EXPECT_EQ((flags >> bit) & 1, ((*bitTables[bit])[code] & 0x8000) ? 1 : 0) << std::hex << code;
        }
    }
    EXPECT_EQ(entries, 317u);
    EXPECT_EQ(allFour, 75u);
    EXPECT_EQ(EncodingTables::ambiguousFlags(0x00B0), 0xF);  // degree sign
    EXPECT_EQ(EncodingTables::ambiguousFlags(0x0391), 0xF);  // Greek capital alpha
    EXPECT_EQ(EncodingTables::ambiguousFlags(0x2590), 0);    // not class A
    EXPECT_EQ(EncodingTables::ambiguousFlags(0x3042), 0);    // wide, not ambiguous
}

}  // namespace
