#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "prelix10/command/ORVOQRCode.hpp"
#include "SymbolReader.hpp"

namespace {

constexpr const char* kLevelNames = "LMQH";

struct Generated {
    int result = 0;
    std::unique_ptr<ORVOQRCodeInformationStruct> info = std::make_unique<ORVOQRCodeInformationStruct>();
};

Generated generate(const std::string& data, int level, int model = 1) {
    Generated g;
    ORVOQRCodeInitialize(g.info.get());
    g.info->model = static_cast<uint8_t>(model);
    g.info->level = static_cast<uint8_t>(level);
    std::memcpy(g.info->input, data.data(), data.size());
    g.info->inputLength = static_cast<uint16_t>(data.size());
    g.info->segmentCount = 256;
    g.result = ORVOQRCodeGenerate(g.info.get());
    return g;
}

bool module(const ORVOQRCodeInformationStruct& info, int r, int c) {
    return (info.symbolMatrix[r][c >> 3] >> (7 - (c & 7))) & 1;
}

// Renders the symbol, reads it with zxing-cpp and compares the bytes.
void expectDecodes(const Generated& g, const std::string& data, const std::string& name) {
    ASSERT_EQ(g.result, 1) << name;
    const int n = g.info->symbolSize;
    const std::string path = SymbolReader::imagePath(name);
    ASSERT_TRUE(SymbolReader::writePgm(
        path, n, n, [&](int r, int c) { return module(*g.info, r, c); }, 3, 3, 4));
    std::string error;
    auto decoded = SymbolReader::decode(path, "QRCode", error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_TRUE(decoded.has_value()) << name << ": nothing decoded from " << path;
    EXPECT_EQ(SymbolReader::hex(*decoded), SymbolReader::hex(data)) << name;
}

std::string randomFrom(std::mt19937& rng, const std::string& alphabet, size_t length) {
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string s;
    for (size_t i = 0; i < length; ++i) s += alphabet[pick(rng)];
    return s;
}

const std::string kDigits = "0123456789";
const std::string kAlnum = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
// Bytes that are neither digits, alphanumeric nor Kanji lead bytes, control bytes included.
const std::string kPlainBytes = std::string("abcdefghijklmnopqrstuvwxyz!\"#&'()<>[]{}~", 40) +
                                std::string("\x00\x01\x02\x0a\x0d\x1b\x7f", 7);
// Shift_JIS Kanji pairs: (kanji) ji tesuto ten and two from the E0.. range.
const std::string kKanji = "\x8a\xbf\x8e\x9a\x83\x65\x83\x58\x83\x67\x93\x5f\xe4\xaa\xea\xa4";

std::string kanjiOf(std::mt19937& rng, size_t pairs) {
    std::uniform_int_distribution<size_t> pick(0, kKanji.size() / 2 - 1);
    std::string s;
    for (size_t i = 0; i < pairs; ++i) s += kKanji.substr(2 * pick(rng), 2);
    return s;
}

// Data bits of one byte segment: how many bytes fill the data capacity of a Model 2 version.
size_t byteCapacity(int version, int level) {
    int bits = 8 * ORVOQRCodeDataCodewords(1, version, level) - 4 - (version <= 9 ? 8 : 16);
    return static_cast<size_t>(bits / 8);
}

}  // namespace

// Every version and level at its full byte capacity: the version is the one that holds the data, and
// zxing-cpp reads back the exact bytes (control bytes included).
TEST(QRCodeGenerator, EveryVersionAndLevelDecodesAtFullCapacity) {
    std::mt19937 rng(11);
    for (int level = 0; level < 4; ++level) {
        for (int version = 1; version <= 40; ++version) {
            const std::string data = randomFrom(rng, kPlainBytes, byteCapacity(version, level));
            Generated g = generate(data, level);
            ASSERT_EQ(g.result, 1) << "version " << version << " level " << kLevelNames[level];
            EXPECT_EQ(g.info->version, version) << kLevelNames[level];
            EXPECT_EQ(g.info->symbolSize, 4 * version + 17);
            EXPECT_EQ(g.info->segmentCount, 1);
            expectDecodes(g, data, std::string("qr_v") + std::to_string(version) + kLevelNames[level]);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(QRCodeGenerator, ModesDecodeAtEveryLevel) {
    std::mt19937 rng(3);
    struct Case {
        const char* name;
        std::string data;
    };
    std::vector<Case> cases = {
        {"numeric", randomFrom(rng, kDigits, 1)},
        {"numeric17", randomFrom(rng, kDigits, 17)},
        {"numericLong", randomFrom(rng, kDigits, 1500)},
        {"alnum", randomFrom(rng, kAlnum, 3)},
        {"alnumLong", randomFrom(rng, kAlnum, 900)},
        {"kanji", kanjiOf(rng, 7)},
        {"kanjiLong", kanjiOf(rng, 400)},
        {"bytes", randomFrom(rng, kPlainBytes, 200)},
        {"mixed", "abc" + kanjiOf(rng, 5) + "12345678901234" + "HELLO WORLD" + "\x01\x02" + kanjiOf(rng, 1) + "x"},
        {"mixedLong", randomFrom(rng, kPlainBytes, 100) + randomFrom(rng, kDigits, 300) +
                          randomFrom(rng, kAlnum, 300) + kanjiOf(rng, 100) + randomFrom(rng, kPlainBytes, 50)},
    };
    for (const Case& c : cases) {
        for (int level = 0; level < 4; ++level) {
            Generated g = generate(c.data, level);
            expectDecodes(g, c.data, std::string("qr_") + c.name + kLevelNames[level]);
        }
    }
}

TEST(QRCodeGenerator, SegmentsTheInputByCost) {
    struct Case {
        std::string data;
        std::vector<int> modes;
    } cases[] = {
        {"12345678", {ORVOQRCodeModeNumeric}},
        {"ABC12345678DEF", {ORVOQRCodeModeAlphanumeric}},  // 44 bits in alphanumeric against 45 numeric
        {"ab1cd", {ORVOQRCodeModeByte}},                   // a lone digit stays in byte mode
        {"ab123456cd", {ORVOQRCodeModeByte, ORVOQRCodeModeNumeric, ORVOQRCodeModeByte}},
        {"\x8a\xbf\x8e\x9a\x83\x65", {ORVOQRCodeModeKanji}},
        {"ab\x8a\xbf" "cd", {ORVOQRCodeModeByte}},  // one Kanji pair: 16 bits against 13 + 16
        // Four pairs cost 64 bits in byte mode against 68: they stay; six pairs (96 against 94) split off.
        {"abc\x8a\xbf\x8e\x9a\x83\x65\x83\x58", {ORVOQRCodeModeByte}},
        {"abc\x8a\xbf\x8e\x9a\x83\x65\x83\x58\x83\x67\x93\x5f", {ORVOQRCodeModeByte, ORVOQRCodeModeKanji}},
        {"a1", {ORVOQRCodeModeByte}},  // the short alphanumeric "1" merges back into the byte segment
    };
    for (const auto& c : cases) {
        Generated g = generate(c.data, 0);
        ASSERT_EQ(g.result, 1) << SymbolReader::hex(c.data);
        std::vector<int> modes;
        for (int i = 0; i < g.info->segmentCount; ++i) modes.push_back(g.info->segments[i].mode);
        EXPECT_EQ(modes, c.modes) << SymbolReader::hex(c.data);
        int total = 0;
        for (int i = 0; i < g.info->segmentCount; ++i) {
            EXPECT_EQ(g.info->segments[i].pointer, g.info->input + total);
            total += g.info->segments[i].length;
        }
        EXPECT_EQ(total, static_cast<int>(c.data.size()));
    }
}

TEST(QRCodeGenerator, ChoosesTheSmallestVersionAndRefusesWhatDoesNotFit) {
    struct Case {
        std::string data;
        int level;
        int model;
        int version;  // 0 = does not fit
    } cases[] = {
        {std::string(17, '7'), 0, 1, 1},    // 4 + 10 + 57 bits = 9 codewords
        {std::string(41, '1'), 0, 1, 1},    // 151 bits of 152
        {std::string(41, '1'), 0, 0, 2},    // Model 1's four extra bits need one version more
        {std::string(42, '1'), 0, 1, 2},
        {std::string(7089, '9'), 0, 1, 40},
        {std::string(7090, '9'), 0, 1, 0},
        {std::string(2953, 'a'), 0, 1, 40},
        {std::string(2954, 'a'), 0, 1, 0},
        {std::string(1273, 'a'), 3, 1, 40},
        {std::string(1274, 'a'), 3, 1, 0},
        {std::string(4296, 'A'), 0, 1, 40},
        {std::string(4297, 'A'), 0, 1, 0},
        {std::string(7096, 'a'), 0, 1, 0},
    };
    for (const auto& c : cases) {
        Generated g = generate(c.data, c.level, c.model);
        EXPECT_EQ(g.result, c.version != 0 ? 1 : 0) << c.data.size();
        if (c.version != 0) {
            EXPECT_EQ(g.info->version, c.version) << c.data.size();
        } else {
            EXPECT_EQ(g.info->symbolSize, 0) << c.data.size();
        }
    }
}

TEST(QRCodeGenerator, RefusesSettingsOutOfRange) {
    Generated g = generate("abc", 4);
    EXPECT_EQ(g.result, 0);
    g = generate("abc", 0, 2);
    EXPECT_EQ(g.result, 0);
    ORVOQRCodeInitialize(g.info.get());
    g.info->inputLength = ORVOQRCodeInputCapacity + 1;
    g.info->segmentCount = 256;
    EXPECT_EQ(ORVOQRCodeGenerate(g.info.get()), 0);
    EXPECT_EQ(g.info->symbolSize, 0);
}

TEST(QRCodeGenerator, ValidatesACallerFilledSegmentTable) {
    auto info = std::make_unique<ORVOQRCodeInformationStruct>();
    auto run = [&](const std::string& data, std::vector<std::pair<int, int>> segments) {
        ORVOQRCodeInitialize(info.get());
        std::memcpy(info->input, data.data(), data.size());
        info->inputLength = static_cast<uint16_t>(data.size());
        for (size_t i = 0; i < segments.size(); ++i) {
            info->segments[i].length = static_cast<uint16_t>(segments[i].first);
            info->segments[i].mode = static_cast<uint8_t>(segments[i].second);
        }
        info->segmentCount = static_cast<uint16_t>(segments.size());
        return ORVOQRCodeGenerate(info.get());
    };
    const std::string data = "0123abc";
    EXPECT_EQ(run(data, {{4, ORVOQRCodeModeNumeric}, {3, ORVOQRCodeModeByte}}), 1);
    EXPECT_EQ(info->segmentCount, 2);
    EXPECT_EQ(info->segments[1].pointer, info->input + 4);
    {
        Generated g;
        g.result = 1;
        std::memcpy(g.info.get(), info.get(), sizeof *info);
        expectDecodes(g, data, "qr_callerSegments");
    }
    EXPECT_EQ(run(data, {}), 0);                                                      // no segment
    EXPECT_EQ(run(data, {{4, ORVOQRCodeModeNumeric}, {4, ORVOQRCodeModeByte}}), 0);  // past the input
    EXPECT_EQ(run(data, {{60000, ORVOQRCodeModeByte}}), 0);
    EXPECT_EQ(run(data, {{5, ORVOQRCodeModeNumeric}, {2, ORVOQRCodeModeByte}}), 0);  // "a" is no digit
    EXPECT_EQ(run(data, {{7, ORVOQRCodeModeAlphanumeric}}), 0);                      // lower case
    EXPECT_EQ(run(data, {{7, 4}}), 0);                                               // no such mode
    EXPECT_EQ(run("\x8a\xbf\x8e", {{3, ORVOQRCodeModeKanji}}), 0);                   // odd Kanji length
    EXPECT_EQ(run("ab", {{2, ORVOQRCodeModeKanji}}), 0);                             // not Kanji
    EXPECT_EQ(info->symbolSize, 0);
}

TEST(QRCodeGenerator, ModelOneSymbolHasItsFormatAndClearBitsPastTheEdge) {
    Generated g = generate("MODEL ONE", 1, 0);
    ASSERT_EQ(g.result, 1);
    const int n = g.info->symbolSize;
    ASSERT_EQ(n, 21);
    // Finder corners, timing and the fixed dark module.
    EXPECT_TRUE(module(*g.info, 0, 0));
    EXPECT_TRUE(module(*g.info, 0, n - 1));
    EXPECT_TRUE(module(*g.info, n - 1, 0));
    EXPECT_TRUE(module(*g.info, n - 8, 8));
    EXPECT_TRUE(module(*g.info, 6, 8));
    EXPECT_FALSE(module(*g.info, 6, 9));
    // Format word (first copy) read back: the level and mask survive the 0x2825 mask and the BCH check.
    uint32_t word = 0;
    const int rows[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
    const int cols[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
    for (int bit = 0; bit < 15; ++bit) word |= static_cast<uint32_t>(module(*g.info, rows[bit], cols[bit])) << bit;
    word ^= 0x2825;
    uint32_t rem = word;
    for (int i = 14; i >= 10; --i)
        if (rem & (1u << i)) rem ^= 0x537u << (i - 10);
    EXPECT_EQ(rem, 0u);
    EXPECT_EQ(word >> 13, 0u);  // level M = 00
    for (int r = 0; r < ORVOQRCodeMatrixSize; ++r)
        for (int c = n; c < 8 * ORVOQRCodeMatrixRowBytes; ++c) ASSERT_FALSE(module(*g.info, r, c)) << r << "," << c;
}

// For single-mode data the chosen version equals libqrencode's (the qrencode tool) at the same level.
TEST(QRCodeGenerator, VersionMatchesLibqrencodeForSingleModeData) {
    const std::string qrencode = SymbolReader::findExecutable("qrencode");
    ASSERT_FALSE(qrencode.empty()) << "the qrencode tool is not installed (package qrencode; scripts/setup)";
    std::mt19937 rng(7);
    struct Case {
        const char* name;
        std::string alphabet;
        const char* flags;
        bool kanji;
    } cases[] = {
        {"numeric", kDigits, "", false},
        {"alnum", "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", "", false},
        {"byte", "abcdefghijklmnopqrstuvwxyz", "-8", false},
        {"kanji", "", "-k", true},
    };
    const size_t lengths[] = {1, 10, 25, 60, 150, 300, 700, 1200, 2000};
    const std::string file = std::string(PRELIX10_BINARY_DIR) + "/symbol_images/qrencode_input.bin";
    SymbolReader::imagePath("unused");  // makes the directory
    for (const auto& c : cases) {
        for (size_t length : lengths) {
            std::string data = c.kanji ? kanjiOf(rng, length / 2 + 1) : randomFrom(rng, c.alphabet, length);
            for (int level = 0; level < 4; ++level) {
                Generated g = generate(data, level);
                FILE* f = std::fopen(file.c_str(), "wb");
                ASSERT_NE(f, nullptr);
                std::fwrite(data.data(), 1, data.size(), f);
                std::fclose(f);
                std::string command = qrencode + " " + c.flags + " -l " + kLevelNames[level] +
                                      " -m 0 -t ASCII -o - < '" + file + "' 2>/dev/null";
                FILE* p = ::popen(command.c_str(), "r");
                ASSERT_NE(p, nullptr);
                int lines = 0;
                int ch;
                while ((ch = std::fgetc(p)) != EOF)
                    if (ch == '\n') ++lines;
                ::pclose(p);
                if (lines == 0) {
                    EXPECT_EQ(g.result, 0) << c.name << " " << length << " " << kLevelNames[level];
                    continue;
                }
                ASSERT_EQ(g.result, 1) << c.name << " " << length << " " << kLevelNames[level];
                EXPECT_EQ(g.info->version, (lines - 17) / 4) << c.name << " " << length << " " << kLevelNames[level];
            }
        }
    }
}

namespace {

// A module matrix read out of the generator's symbol matrix, and the pieces of a Model 2 symbol
// worked out here from the symbol's geometry (not from the generator) to re-mask it.
using Modules = std::vector<std::vector<bool>>;

Modules modulesOf(const ORVOQRCodeInformationStruct& info) {
    const int n = info.symbolSize;
    Modules m(static_cast<size_t>(n), std::vector<bool>(static_cast<size_t>(n)));
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m[r][c] = module(info, r, c);
    return m;
}

bool maskInverts(int mask, int i, int j) {
    switch (mask) {
        case 0:
            return (i + j) % 2 == 0;
        case 1:
            return i % 2 == 0;
        case 2:
            return j % 3 == 0;
        case 3:
            return (i + j) % 3 == 0;
        case 4:
            return (i / 2 + j / 3) % 2 == 0;
        case 5:
            return (i * j) % 2 + (i * j) % 3 == 0;
        case 6:
            return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default:
            return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

// Alignment-pattern centres of a version, from the rule that they are spread evenly from column 6 to
// N - 7 with an even step (version 32 being the one exception).
std::vector<int> alignmentCentres(int version) {
    if (version == 1) return {};
    const int n = 4 * version + 17;
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (2 * count - 2) * 2;
    std::vector<int> centres(static_cast<size_t>(count));
    centres[0] = 6;
    for (int i = count - 1, p = n - 7; i >= 1; --i, p -= step) centres[static_cast<size_t>(i)] = p;
    return centres;
}

// Finder patterns with separators and format areas, timing, alignment, version information and the
// dark module: every module that a mask leaves alone.
Modules functionModules(int version) {
    const int n = 4 * version + 17;
    Modules f(static_cast<size_t>(n), std::vector<bool>(static_cast<size_t>(n)));
    auto fill = [&](int r0, int c0, int rows, int cols) {
        for (int r = r0; r < r0 + rows; ++r)
            for (int c = c0; c < c0 + cols; ++c) f[r][c] = true;
    };
    fill(0, 0, 9, 9);
    fill(0, n - 8, 9, 8);
    fill(n - 8, 0, 8, 9);
    fill(6, 0, 1, n);
    fill(0, 6, n, 1);
    const std::vector<int> centres = alignmentCentres(version);
    for (int r : centres)
        for (int c : centres) {
            const bool underFinder = (r == 6 && c == 6) || (r == 6 && c == n - 7) || (r == n - 7 && c == 6);
            if (!underFinder) fill(r - 2, c - 2, 5, 5);
        }
    if (version >= 7) {
        fill(0, n - 11, 6, 3);
        fill(n - 11, 0, 3, 6);
    }
    return f;
}

// The 15-bit format word of a Model 2 symbol (level bits L 01, M 00, Q 11, H 10).
uint32_t formatWordOf(int level, int mask) {
    const uint32_t levelBits[4] = {1, 0, 3, 2};
    const uint32_t data = (levelBits[level] << 3) | static_cast<uint32_t>(mask);
    uint32_t rem = data << 10;
    for (int i = 14; i >= 10; --i)
        if (rem & (1u << i)) rem ^= 0x537u << (i - 10);
    return ((data << 10) | rem) ^ 0x5412u;
}

// Positions of format bit i (0 = least significant) in its two copies.
void formatModules(int n, int i, int& r1, int& c1, int& r2, int& c2) {
    r1 = i < 6 ? i : i < 8 ? i + 1 : 8;
    c1 = i < 8 ? 8 : i == 8 ? 7 : 14 - i;
    r2 = i < 8 ? 8 : n - 15 + i;
    c2 = i < 8 ? n - 1 - i : 8;
}

// The mask a symbol carries, read from both copies of its format word; -1 when they disagree or the
// level is not the expected one.
int maskOf(const Modules& s, int level) {
    const int n = static_cast<int>(s.size());
    for (int mask = 0; mask < 8; ++mask) {
        const uint32_t word = formatWordOf(level, mask);
        bool same = true;
        for (int i = 0; i < 15 && same; ++i) {
            int r1, c1, r2, c2;
            formatModules(n, i, r1, c1, r2, c2);
            const bool bit = (word >> i) & 1;
            same = s[r1][c1] == bit && s[r2][c2] == bit;
        }
        if (same) return mask;
    }
    return -1;
}

// The same symbol under another mask: data modules re-masked and the format word redrawn.
Modules remasked(const Modules& s, const Modules& function, int level, int from, int to) {
    const int n = static_cast<int>(s.size());
    Modules out = s;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            if (!function[r][c]) out[r][c] = s[r][c] ^ maskInverts(from, r, c) ^ maskInverts(to, r, c);
    const uint32_t word = formatWordOf(level, to);
    for (int i = 0; i < 15; ++i) {
        int r1, c1, r2, c2;
        formatModules(n, i, r1, c1, r2, c2);
        out[r1][c1] = out[r2][c2] = (word >> i) & 1;
    }
    return out;
}

// The mask scores: 3 points for every one-coloured 2 x 2 square ...
int squareScore(const Modules& s) {
    const int n = static_cast<int>(s.size());
    int score = 0;
    for (int r = 0; r + 1 < n; ++r)
        for (int c = 0; c + 1 < n; ++c)
            if (s[r][c] == s[r][c + 1] && s[r][c] == s[r + 1][c] && s[r][c] == s[r + 1][c + 1]) score += 3;
    return score;
}

// ... and, per row and column listed as runs from a (possibly empty) leading dark run, length - 2 for
// every run longer than 4, 40 for every dark-light-dark-light-dark sequence in the ratio 1:1:3:1:1,
// plus twice the distance of the dark percentage (rounded down) from 50.
int lineScore(const Modules& s) {
    const int n = static_cast<int>(s.size());
    int score = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int line = 0; line < n; ++line) {
            std::vector<int> runs;
            bool colour = true;
            int length = 0;
            for (int k = 0; k < n; ++k) {
                const bool dark = pass == 0 ? s[line][k] : s[k][line];
                if (dark != colour) {
                    runs.push_back(length);
                    colour = dark;
                    length = 0;
                }
                ++length;
            }
            runs.push_back(length);
            for (int run : runs)
                if (run > 4) score += run - 2;
            for (size_t i = 0; i + 4 < runs.size(); i += 2) {
                const int x = runs[i];
                if (x > 0 && runs[i + 1] == x && runs[i + 2] == 3 * x && runs[i + 3] == x && runs[i + 4] == x)
                    score += 40;
            }
        }
    }
    long dark = 0;
    for (const auto& row : s)
        for (bool m : row) dark += m ? 1 : 0;
    const long percent = 100 * dark / (static_cast<long>(n) * n);
    return score + 2 * static_cast<int>(std::labs(percent - 50));
}

struct MaskScores {
    int squares[8];
    int totals[8];
    int expected;     // the mask the rules pick
    int laterOnTies;  // the pick if a later mask won square-score ties instead
};

// Scores all eight masks of a symbol and applies the choice: the three lowest square scores (an
// earlier mask keeps its place on a tie), then the lowest total, then the better square score, then
// the earlier of the three.
MaskScores scoreMasks(const Modules& symbol, int version, int level) {
    MaskScores result{};
    const Modules function = functionModules(version);
    const int carried = maskOf(symbol, level);
    EXPECT_GE(carried, 0) << "no valid format word";
    std::vector<Modules> candidates;
    for (int mask = 0; mask < 8; ++mask) {
        candidates.push_back(remasked(symbol, function, level, carried < 0 ? 0 : carried, mask));
        result.squares[mask] = squareScore(candidates.back());
        result.totals[mask] = result.squares[mask] + lineScore(candidates.back());
    }
    auto pick = [&](std::vector<int> order) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return result.squares[a] < result.squares[b]; });
        int chosen = order[0];
        for (int k = 1; k < 3; ++k) {
            const int m = order[static_cast<size_t>(k)];
            if (result.totals[m] < result.totals[chosen] ||
                (result.totals[m] == result.totals[chosen] && result.squares[m] < result.squares[chosen]))
                chosen = m;
        }
        return chosen;
    };
    result.expected = pick({0, 1, 2, 3, 4, 5, 6, 7});
    result.laterOnTies = pick({7, 6, 5, 4, 3, 2, 1, 0});
    return result;
}

std::string rowsHex(const ORVOQRCodeInformationStruct& info) {
    static const char* digits = "0123456789ABCDEF";
    const int n = info.symbolSize;
    std::string s;
    for (int r = 0; r < n; ++r) {
        if (r > 0) s += ' ';
        for (int b = 0; b < (n + 7) / 8; ++b) {
            s += digits[info.symbolMatrix[r][b] >> 4];
            s += digits[info.symbolMatrix[r][b] & 15];
        }
    }
    return s;
}

// The qrencode tool's symbol for the same bytes in byte mode (or its own segmentation), at a fixed
// version and level; empty when the tool is missing or fails.
Modules qrencodeSymbol(const std::string& data, int version, int level, bool byteMode) {
    const std::string tool = SymbolReader::findExecutable("qrencode");
    if (tool.empty()) return {};
    const std::string file = std::string(PRELIX10_BINARY_DIR) + "/symbol_images/qrencode_mask_input.bin";
    SymbolReader::imagePath("unused");  // makes the directory
    FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) return {};
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
    const std::string command = tool + (byteMode ? " -8" : "") + " -v " + std::to_string(version) + " -l " +
                                kLevelNames[level] + " -m 0 -t ASCII -o - < '" + file + "' 2>/dev/null";
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) return {};
    Modules symbol;
    std::string line;
    int ch;
    while ((ch = std::fgetc(p)) != EOF) {
        if (ch != '\n') {
            line += static_cast<char>(ch);
            continue;
        }
        std::vector<bool> row;
        for (size_t i = 0; i + 1 < line.size(); i += 2) row.push_back(line[i] == '#');
        symbol.push_back(row);
        line.clear();
    }
    ::pclose(p);
    return symbol;
}

}  // namespace

// For fixed inputs of several versions and levels, all eight masks are scored here from the symbol
// itself, and the generator must carry the mask that the choice rules pick. qrencode, used as a black
// box, checks the re-masking: its symbol for the same data and version is one of the eight candidates.
TEST(QRCodeGenerator, CarriesTheMaskThatTheScoringRulesPick) {
    std::mt19937 rng(2144);
    struct Case {
        std::string data;
        int level;
        int version;
        bool byteMode;  // else digits only, numeric in both generators
    };
    std::vector<Case> cases = {
        {"HELLO PRELIX", 1, 1, false},
        {"https://example.invalid/r?id=42", 0, 2, true},
        {randomFrom(rng, kDigits, 60), 2, 3, false},
        {randomFrom(rng, kPlainBytes, 60), 3, 7, true},
        {randomFrom(rng, kPlainBytes, 100), 1, 6, true},
        {randomFrom(rng, kDigits, 400), 0, 8, false},
        {randomFrom(rng, kPlainBytes, 300), 2, 16, true},
        {randomFrom(rng, kPlainBytes, 1200), 3, 39, true},
        {randomFrom(rng, kPlainBytes, 2900), 0, 40, true},
    };
    const size_t fixedCases = cases.size();
    // Many small symbols besides, so that ties in the square score at the edge of the kept three occur.
    for (int i = 0; i < 240; ++i) {
        const int level = i % 4;
        const size_t length = 1 + rng() % 120;
        cases.push_back({randomFrom(rng, kPlainBytes, length), level, 0, true});
    }
    ASSERT_FALSE(SymbolReader::findExecutable("qrencode").empty()) << "the qrencode tool is not installed";
    int decisiveTies = 0;
    int crossChecked = 0;
    for (size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        const std::string name = SymbolReader::hex(c.data.substr(0, 8)) + " level " + kLevelNames[c.level];
        Generated g = generate(c.data, c.level);
        ASSERT_EQ(g.result, 1) << name;
        const int version = g.info->version;
        if (c.version != 0) {
            EXPECT_EQ(version, c.version) << name;
        }
        const Modules symbol = modulesOf(*g.info);
        const MaskScores scores = scoreMasks(symbol, version, c.level);
        EXPECT_EQ(maskOf(symbol, c.level), scores.expected) << name << " version " << version;
        decisiveTies += scores.laterOnTies != scores.expected ? 1 : 0;

        if (k >= fixedCases && k % 8 != 0) continue;
        const Modules other = qrencodeSymbol(c.data, version, c.level, c.byteMode);
        ASSERT_EQ(other.size(), symbol.size()) << name << ": the tool chose another version";
        const int theirs = maskOf(other, c.level);
        ASSERT_GE(theirs, 0) << name;
        EXPECT_EQ(remasked(symbol, functionModules(version), c.level, maskOf(symbol, c.level), theirs), other)
            << name << " version " << version << " under mask " << theirs;
        ++crossChecked;
    }
    EXPECT_GT(decisiveTies, 0);  // the tie rule decided some of the cases
    EXPECT_GE(crossChecked, 9 + 30);
}

// Two complete symbols, pinned row by row (hex, most significant bit leftmost).
TEST(QRCodeGenerator, FixedInputsGiveFixedSymbols) {
    struct Case {
        std::string data;
        int level;
        int version;
        int mask;
        const char* rows;
    } cases[] = {
        {"HELLO PRELIX", 1, 1, 0,
         "FE23F8 82BA08 BA7AE8 BA42E8 BAEAE8 824A08 FEABF8 001800 AA1090 618788 56AFC0 C1E0F0 D30828 00D528 "
         "FE5268 827DD8 BAB2F8 BA2310 BA88C8 822358 FECB88"},
        {"receipt 2026-12-10 #0042: 3 items, total 12.50", 2, 4, 6,
         "FE0A79BF80 82809EA080 BA2D142E80 BAB6F5AE80 BA9F5E2E80 821C65A080 FEAAAABF80 0084260000 5EC1A06D00 "
         "0D49280E80 8F14EEF280 5D90EB5A00 27EEF93580 10E6295100 9660D2D800 CD38B8B800 CB2AEBE880 6C2EFB3F80 "
         "E6385F9800 11F232A600 8708788180 B11F7BDF00 9E9CC5E780 B8D1232780 F61FBCFA80 00A56C8E80 FE4F14AE80 "
         "82A78A8E00 BAA5A1FC80 BA91F75600 BA491EAD80 82A6BC7780 FE4996B000"},
    };
    for (const auto& c : cases) {
        Generated g = generate(c.data, c.level);
        ASSERT_EQ(g.result, 1);
        EXPECT_EQ(g.info->version, c.version) << c.data;
        EXPECT_EQ(maskOf(modulesOf(*g.info), c.level), c.mask) << c.data;
        EXPECT_EQ(rowsHex(*g.info), c.rows) << c.data;
        expectDecodes(g, c.data, "qr_pinned_v" + std::to_string(c.version));
    }
}
