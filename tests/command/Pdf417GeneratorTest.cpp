#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Pdf417DrawnSymbol.hpp"
#include "SymbolReader.hpp"
#include "prelix10/command/ORVOPDF417.hpp"
#include "prelix10/command/ORVOPDF417ClusterTable.hpp"

namespace {

struct Settings {
    int rows = 0;
    int columns = 3;
    int level = 1;
    int rowHeight = 3;
};

std::unique_ptr<ORVOPDF417InformationStruct> makeInfo(const std::string& data, const Settings& s) {
    auto info = std::make_unique<ORVOPDF417InformationStruct>();
    ORVOPDF417Initialize(info.get());
    info->sizeMode = 0;
    info->eccMode = 0;
    info->requestedRows = static_cast<uint16_t>(s.rows);
    info->requestedColumns = static_cast<uint16_t>(s.columns);
    info->requestedEccLevel = static_cast<uint16_t>(s.level);
    info->rowHeight = static_cast<int16_t>(s.rowHeight);
    std::memcpy(info->input, data.data(), data.size() < 1024 ? data.size() : 1024);
    info->inputLength = static_cast<uint16_t>(data.size());
    return info;
}

std::vector<int> codewords(const ORVOPDF417InformationStruct& info, int from, int count) {
    std::vector<int> out;
    for (int i = from; i < from + count; ++i) out.push_back(info.codewords[i]);
    return out;
}

// Reader side of the compaction modes, written from the symbology's decoding rules: turns the data
// codewords (after the length descriptor, pads removed) back into bytes.
std::string decodeCodewords(const std::vector<int>& cw) {
    static const char* alpha = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    static const char* lower = "abcdefghijklmnopqrstuvwxyz ";
    static const char mixed[] = "0123456789&\r\t,:#-.$/+%*=^";
    static const char punct[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
    std::string out;
    size_t i = 0;
    int mode = 900;
    while (i < cw.size()) {
        int c = cw[i];
        if (c >= 900) {
            mode = c;
            ++i;
        }
        if (mode == 900) {
            std::vector<int> values;
            while (i < cw.size() && cw[i] < 900) {
                values.push_back(cw[i] / 30);
                values.push_back(cw[i] % 30);
                ++i;
            }
            int sub = 0, shiftTo = -1;  // 0 alpha, 1 lower, 2 mixed, 3 punctuation
            for (int v : values) {
                int m = shiftTo >= 0 ? shiftTo : sub;
                bool shifted = shiftTo >= 0;
                shiftTo = -1;
                if (m == 0 || m == 1) {
                    if (v < 27) out += (m == 0 ? alpha : lower)[v];
                    else if (v == 27) { if (m == 0) sub = 1; else shiftTo = 0; }
                    else if (v == 28) sub = 2;
                    else shiftTo = 3;
                } else if (m == 2) {
                    if (v < 25) out += mixed[v];
                    else if (v == 25) sub = 3;
                    else if (v == 26) out += ' ';
                    else if (v == 27) sub = 1;
                    else if (v == 28) sub = 0;
                    else shiftTo = 3;
                } else {
                    if (v < 29) out += punct[v];
                    else if (!shifted) sub = 0;
                }
                if (shifted && m == 3 && v == 29) shiftTo = -1;
            }
        } else if (mode == 902) {
            std::vector<int> group;
            auto flush = [&] {
                if (group.empty()) return;
                std::vector<int> digits = {0};  // decimal, most significant first
                for (int g : group) {
                    int carry = g;
                    for (int k = static_cast<int>(digits.size()) - 1; k >= 0; --k) {
                        int v = digits[k] * 900 + carry;
                        digits[k] = v % 10;
                        carry = v / 10;
                    }
                    while (carry > 0) {
                        digits.insert(digits.begin(), carry % 10);
                        carry /= 10;
                    }
                }
                size_t start = 0;
                while (start < digits.size() && digits[start] == 0) ++start;
                for (size_t k = start + 1; k < digits.size(); ++k) out += static_cast<char>('0' + digits[k]);
                group.clear();
            };
            while (i < cw.size() && cw[i] < 900) {
                group.push_back(cw[i++]);
                if (group.size() == 15) flush();
            }
            flush();
        } else if (mode == 901 || mode == 924) {
            std::vector<int> run;
            while (i < cw.size() && cw[i] < 900) run.push_back(cw[i++]);
            // 924: groups of five only. 901: a group of five becomes six bytes only when more follows.
            size_t k = 0;
            while (mode == 924 ? k + 5 <= run.size() : k + 5 < run.size()) {
                uint64_t v = 0;
                for (int j = 0; j < 5; ++j) v = v * 900 + static_cast<uint64_t>(run[k + j]);
                for (int j = 5; j >= 0; --j) out += static_cast<char>((v >> (8 * j)) & 0xFF);
                k += 5;
            }
            for (; k < run.size(); ++k) out += static_cast<char>(run[k]);
        } else {
            ++i;
        }
    }
    return out;
}

std::vector<int> dataCodewords(const ORVOPDF417InformationStruct& info) {
    const int ecc = 1 << (info.eccLevel + 1);
    int data = info.codewordCount - ecc;
    std::vector<int> out = codewords(info, 1, data - 1);
    while (!out.empty() && out.back() == 900) out.pop_back();
    return out;
}

// Polynomial of all codewords evaluated at 3^i must be zero for i = 1..ecc.
bool syndromesVanish(const ORVOPDF417InformationStruct& info) {
    const int ecc = 1 << (info.eccLevel + 1);
    int x = 1;
    for (int i = 1; i <= ecc; ++i) {
        x = x * 3 % 929;
        int r = 0;
        for (int k = 0; k < info.codewordCount; ++k) r = (r * x + info.codewords[k]) % 929;
        if (r != 0) return false;
    }
    return true;
}

}  // namespace

TEST(Pdf417Generator, CompactsTextNumbersAndBytesAsTheSymbologyDoes) {
    struct Case {
        std::string data;
        std::vector<int> expected;
    } cases[] = {
        {"PDF417", {453, 178, 121, 239}},                          // text: P D F ml 4 1 7 ps
        {"000213298174000", {902, 1, 624, 434, 632, 282, 200}},  // numeric with the leading 1
        {std::string("\x01\x02\x03\x04\x05\x06", 6), {924, 1, 620, 89, 74, 846}},
        {std::string("\x80\x81\x82\x83\x84\x85\x86", 7), {901, 215, 318, 502, 193, 33, 134}},
    };
    for (const auto& c : cases) {
        auto info = makeInfo(c.data, {0, 2, 0, 3});
        ASSERT_EQ(ORVOPDF417GenerateCodewords(info.get()), 1) << c.data;
        EXPECT_EQ(dataCodewords(*info), c.expected) << SymbolReader::hex(c.data);
    }
}

TEST(Pdf417Generator, CodewordsReadBackToTheInputAtEveryLevel) {
    std::mt19937 rng(417);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string binary;
    for (int i = 0; i < 300; ++i) binary += static_cast<char>(byte(rng));
    const std::string inputs[] = {
        "Hello, World! lower UPPER mIxEd 12 ; < > @ [ \\ ] _ ` ~ ! \" | ( ) ? { } ' \r\n\t",
        "12345678901234567890123456789012345678901234567890123456789",
        "Receipt #0042\nTotal: $12.50\nThank you\x01\x02\x1b@",
        binary,
        "abc" + std::string("\x00\xff", 2) + "def 0123456789012345 GHI" + std::string("\x7f", 1),
    };
    for (const std::string& input : inputs) {
        for (int level = 0; level <= 5; ++level) {
            auto info = makeInfo(input, {0, 10, level, 2});
            ASSERT_EQ(ORVOPDF417GenerateCodewords(info.get()), 1) << level << " " << SymbolReader::hex(input);
            EXPECT_EQ(SymbolReader::hex(decodeCodewords(dataCodewords(*info))), SymbolReader::hex(input));
            EXPECT_TRUE(syndromesVanish(*info)) << level;
            for (int k = 0; k < info->codewordCount; ++k) ASSERT_LT(info->codewords[k], 929);
        }
    }
}

TEST(Pdf417Generator, SizesRowsAndColumnsAndPads) {
    // "PDF417" is 5 data codewords with the descriptor; level 2 adds 8.
    auto info = makeInfo("PDF417", {0, 2, 2, 3});
    ASSERT_EQ(ORVOPDF417GenerateCodewords(info.get()), 1);
    EXPECT_EQ(info->rows, 7);  // ceil(13 / 2)
    EXPECT_EQ(info->columns, 2);
    EXPECT_EQ(info->codewords[0], 14 - 8);
    EXPECT_EQ(info->codewords[5], 900);  // pad
    EXPECT_EQ(info->codewordCount, 14);
    EXPECT_TRUE(syndromesVanish(*info));

    info = makeInfo("A", {0, 2, 0, 3});
    ASSERT_EQ(ORVOPDF417GenerateCodewords(info.get()), 1);
    EXPECT_EQ(info->rows, 3);  // 4 codewords in 2 columns: still three rows

    info = makeInfo("PDF417", {6, 0, 2, 3});
    ASSERT_EQ(ORVOPDF417GenerateCodewords(info.get()), 1);
    EXPECT_EQ(info->columns, 3);  // ceil(13 / 6)

    info = makeInfo(std::string(1024, 'x'), {0, 30, 0, 3});
    ASSERT_EQ(ORVOPDF417GenerateCodewords(info.get()), 1);
    EXPECT_LE(info->rows * info->columns, 928);
}

TEST(Pdf417Generator, RefusesSettingsAndDataOutOfRange) {
    struct Case {
        std::string data;
        Settings settings;
    } cases[] = {
        {"", {0, 2, 1, 3}},                         // no data
        {"A", {1, 2, 1, 3}},                        // rows 1
        {"A", {2, 2, 1, 3}},                        // rows 2
        {"A", {91, 2, 1, 3}},                       // rows 91
        {"A", {0, 31, 1, 3}},                       // columns 31
        {"A", {0, 0, 1, 3}},                        // both automatic
        {"A", {90, 11, 1, 3}},                      // 990 codewords
        {"A", {0, 2, 9, 3}},                        // level 9
        {"A", {0, 2, 1, 0}},                        // row height 0
        {"A", {0, 2, 1, 11}},                       // row height 11
        {"A", {3, 1, 0, 3}},                        // 2 error-correction codewords need more than 3 - 1
        {std::string(200, 'a'), {3, 3, 0, 3}},      // data beyond the capacity
        {std::string(1000, '\x80'), {0, 30, 8, 3}}, // 512 error-correction codewords leave too little room
    };
    for (const auto& c : cases) {
        auto info = makeInfo(c.data, c.settings);
        EXPECT_EQ(ORVOPDF417Generate(info.get()), 0) << c.settings.rows << "x" << c.settings.columns;
        EXPECT_EQ(ORVOPDF417GenerateCodewords(info.get()), 0);
    }
    auto info = makeInfo("A", {0, 2, 1, 3});
    info->inputLength = 1025;  // over the input buffer
    EXPECT_EQ(ORVOPDF417Generate(info.get()), 0);
}

// The committed pattern table keeps the symbology's shape: 4 bars and 4 spaces of 1..6 modules over
// 17, the cluster number of its cluster, and one value per pattern within a cluster.
TEST(Pdf417Generator, ClusterTableHoldsWellFormedDistinctPatterns) {
    const uint32_t* table = ORVOPDF417ClusterTable();
    ASSERT_NE(table, nullptr);
    for (int cluster = 0; cluster < 3; ++cluster) {
        std::set<uint32_t> seen;
        for (int value = 0; value < 929; ++value) {
            const uint32_t pattern = table[cluster * 929 + value];
            ASSERT_EQ(pattern >> 17, 0u) << cluster << "/" << value;
            std::vector<int> runs;
            int previous = -1;
            for (int bit = 16; bit >= 0; --bit) {
                const int module = static_cast<int>((pattern >> bit) & 1);
                if (module == previous)
                    ++runs.back();
                else
                    runs.push_back(1);
                previous = module;
            }
            ASSERT_EQ(runs.size(), 8u) << cluster << "/" << value;
            ASSERT_EQ((pattern >> 16) & 1, 1u);  // opens with a bar
            for (int w : runs) ASSERT_TRUE(w >= 1 && w <= 6) << cluster << "/" << value;
            EXPECT_EQ((runs[0] - runs[2] + runs[4] - runs[6] + 9) % 9, 3 * cluster)
                << cluster << "/" << value;
            EXPECT_TRUE(seen.insert(pattern).second) << cluster << "/" << value;
        }
    }
    EXPECT_EQ(ORVOPDF417StartPattern, 0x1FEA8u);
    EXPECT_EQ(ORVOPDF417StopPattern, 0x3FA29u);
}

// The codewords and their bars agree module for module with the same symbol drawn elsewhere.
TEST(Pdf417Generator, PatternMatchesAnIndependentlyDrawnSymbol) {
    auto info = makeInfo("12345678901234", {10, 1, 0, 2});
    ASSERT_EQ(ORVOPDF417Generate(info.get()), 1);
    EXPECT_EQ(info->patternWidth, 17 + 69);
    EXPECT_EQ(info->patternHeight, 20);
    for (int r = 0; r < 20; ++r) {
        const std::string row(reinterpret_cast<const char*>(info->pattern[r]), 11);
        EXPECT_EQ(SymbolReader::hex(row), Pdf417DrawnSymbol::kRowBytes[r / 2]) << "pattern row " << r;
        for (int k = 11; k < ORVOPDF417PatternRowBytes; ++k) ASSERT_EQ(info->pattern[r][k], 0) << r;
    }
}

TEST(Pdf417Generator, PatternSizeLimits) {
    struct Case {
        Settings settings;
        std::string data;
        int width;  // 0 = refused
        int height;
    } cases[] = {
        {{0, 30, 0, 3}, "30 columns", 17 * 30 + 69, 9},  // 579 modules, inside 592
        {{0, 1, 0, 3}, "A", 86, 12},                     // 4 codewords: 4 rows of one column
        {{64, 2, 0, 10}, "A", 103, 640},                 // the tallest pattern
        {{65, 2, 0, 10}, "A", 0, 0},                     // 650 rows
        {{90, 10, 5, 8}, "A", 0, 0},                     // 720 rows
    };
    for (const auto& c : cases) {
        auto info = makeInfo(c.data, c.settings);
        EXPECT_EQ(ORVOPDF417Generate(info.get()), c.width > 0 ? 1 : 0) << c.data;
        EXPECT_EQ(info->patternWidth, c.width) << c.data;
        EXPECT_EQ(info->patternHeight, c.height) << c.data;
    }
    // The truncated form drops the right row indicator and closes with one bar.
    auto info = makeInfo("A", {0, 30, 0, 3});
    info->compact = 1;
    ASSERT_EQ(ORVOPDF417Generate(info.get()), 1);
    EXPECT_EQ(info->patternWidth, 17 * 30 + 35);
    const int last = info->patternWidth - 1;
    EXPECT_EQ((info->pattern[0][last >> 3] >> (7 - (last & 7))) & 1, 1);
    for (int k = (last >> 3) + 1; k < ORVOPDF417PatternRowBytes; ++k) EXPECT_EQ(info->pattern[0][k], 0);
}
