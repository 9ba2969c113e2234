#include <gtest/gtest.h>

#include <cstdio>
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
