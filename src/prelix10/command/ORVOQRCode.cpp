#include "prelix10/command/ORVOQRCode.hpp"

#include <array>
#include <cstring>

namespace {

constexpr int kMaxVersion = 40;
constexpr int kMaxTotalCodewords = 3808;  // Model 1, version 40
constexpr int kMaxEccPerBlock = 68;
constexpr int kRowBytes = ORVOQRCodeMatrixRowBytes;
constexpr int kSize = ORVOQRCodeMatrixSize;

using Matrix = uint8_t[kSize][kRowBytes];

// ---------------------------------------------------------------------------------------------
// Capacity tables.

struct VersionInformation {
    uint16_t totalCodewords;
    uint16_t dataCodewords[4];  // L, M, Q, H
    uint8_t blocks[4];          // L, M, Q, H
};

// Model 2: total codewords and, per level, error-correction codewords per block and block count.
struct Model2Row {
    uint16_t total;
    uint8_t ecc[4];
    uint8_t blocks[4];
};

constexpr Model2Row kModel2Rows[kMaxVersion] = {
    {26, {7, 10, 13, 17}, {1, 1, 1, 1}},        {44, {10, 16, 22, 28}, {1, 1, 1, 1}},
    {70, {15, 26, 18, 22}, {1, 1, 2, 2}},       {100, {20, 18, 26, 16}, {1, 2, 2, 4}},
    {134, {26, 24, 18, 22}, {1, 2, 4, 4}},      {172, {18, 16, 24, 28}, {2, 4, 4, 4}},
    {196, {20, 18, 18, 26}, {2, 4, 6, 5}},      {242, {24, 22, 22, 26}, {2, 4, 6, 6}},
    {292, {30, 22, 20, 24}, {2, 5, 8, 8}},      {346, {18, 26, 24, 28}, {4, 5, 8, 8}},
    {404, {20, 30, 28, 24}, {4, 5, 8, 11}},     {466, {24, 22, 26, 28}, {4, 8, 10, 11}},
    {532, {26, 22, 24, 22}, {4, 9, 12, 16}},    {581, {30, 24, 20, 24}, {4, 9, 16, 16}},
    {655, {22, 24, 30, 24}, {6, 10, 12, 18}},   {733, {24, 28, 24, 30}, {6, 10, 17, 16}},
    {815, {28, 28, 28, 28}, {6, 11, 16, 19}},   {901, {30, 26, 28, 28}, {6, 13, 18, 21}},
    {991, {28, 26, 26, 26}, {7, 14, 21, 25}},   {1085, {28, 26, 30, 28}, {8, 16, 20, 25}},
    {1156, {28, 26, 28, 30}, {8, 17, 23, 25}},  {1258, {28, 28, 30, 24}, {9, 17, 23, 34}},
    {1364, {30, 28, 30, 30}, {9, 18, 25, 30}},  {1474, {30, 28, 30, 30}, {10, 20, 27, 32}},
    {1588, {26, 28, 30, 30}, {12, 21, 29, 35}}, {1706, {28, 28, 28, 30}, {12, 23, 34, 37}},
    {1828, {30, 28, 30, 30}, {12, 25, 34, 40}}, {1921, {30, 28, 30, 30}, {13, 26, 35, 42}},
    {2051, {30, 28, 30, 30}, {14, 28, 38, 45}}, {2185, {30, 28, 30, 30}, {15, 29, 40, 48}},
    {2323, {30, 28, 30, 30}, {16, 31, 43, 51}}, {2465, {30, 28, 30, 30}, {17, 33, 45, 54}},
    {2611, {30, 28, 30, 30}, {18, 35, 48, 57}}, {2761, {30, 28, 30, 30}, {19, 37, 51, 60}},
    {2876, {30, 28, 30, 30}, {19, 38, 53, 63}}, {3034, {30, 28, 30, 30}, {20, 40, 56, 66}},
    {3196, {30, 28, 30, 30}, {21, 43, 59, 70}}, {3362, {30, 28, 30, 30}, {22, 45, 62, 74}},
    {3532, {30, 28, 30, 30}, {24, 47, 65, 77}}, {3706, {30, 28, 30, 30}, {25, 49, 68, 81}},
};

// Model 1: total codewords, data codewords L/M/Q/H, blocks L/M/Q/H.
constexpr VersionInformation kModel1Rows[kMaxVersion] = {
    {26, {19, 16, 13, 9}, {1, 1, 1, 1}},           {46, {36, 30, 24, 16}, {1, 1, 1, 1}},
    {72, {57, 44, 36, 24}, {1, 1, 1, 1}},          {100, {80, 60, 50, 34}, {1, 1, 1, 1}},
    {134, {108, 82, 68, 46}, {1, 1, 1, 2}},        {170, {136, 106, 86, 58}, {1, 2, 2, 2}},
    {212, {170, 132, 108, 72}, {1, 2, 2, 3}},      {256, {208, 160, 128, 87}, {2, 2, 2, 3}},
    {306, {246, 186, 156, 102}, {2, 2, 3, 3}},     {358, {290, 222, 183, 124}, {2, 2, 3, 4}},
    {416, {336, 256, 208, 145}, {2, 4, 4, 5}},     {476, {384, 292, 244, 165}, {2, 4, 4, 5}},
    {542, {432, 332, 276, 192}, {3, 4, 4, 6}},     {610, {489, 368, 310, 210}, {3, 4, 5, 6}},
    {684, {552, 412, 348, 231}, {3, 4, 6, 7}},     {760, {609, 460, 384, 264}, {3, 5, 6, 8}},
    {842, {672, 510, 420, 297}, {4, 5, 7, 9}},     {926, {740, 564, 472, 320}, {4, 6, 8, 10}},
    {1016, {816, 618, 510, 352}, {4, 6, 10, 11}},  {1108, {885, 672, 550, 384}, {5, 7, 11, 12}},
    {1206, {965, 728, 600, 408}, {5, 7, 12, 12}},  {1306, {1050, 792, 650, 442}, {6, 8, 13, 13}},
    {1412, {1134, 864, 702, 480}, {6, 9, 13, 15}}, {1520, {1218, 920, 765, 525}, {6, 10, 15, 15}},
    {1634, {1309, 990, 832, 544}, {7, 10, 16, 16}}, {1750, {1400, 1089, 882, 594}, {7, 11, 18, 18}},
    {1872, {1504, 1122, 936, 648}, {8, 11, 18, 18}}, {1996, {1608, 1224, 1007, 693}, {8, 12, 19, 21}},
    {2126, {1710, 1287, 1080, 735}, {9, 13, 20, 21}}, {2258, {1800, 1358, 1150, 782}, {9, 14, 23, 23}},
    {2396, {1930, 1442, 1196, 828}, {10, 14, 23, 23}}, {2536, {2030, 1568, 1288, 864}, {10, 16, 23, 32}},
    {2682, {2148, 1674, 1375, 910}, {12, 18, 25, 26}}, {2830, {2268, 1746, 1428, 980}, {14, 18, 28, 28}},
    {2984, {2400, 1843, 1488, 992}, {12, 19, 31, 31}}, {3140, {2509, 1940, 1600, 1088}, {13, 20, 32, 32}},
    {3302, {2652, 2037, 1650, 1122}, {13, 21, 33, 33}}, {3466, {2786, 2121, 1749, 1155}, {14, 21, 33, 35}},
    {3636, {2910, 2254, 1836, 1260}, {15, 23, 36, 36}}, {3808, {3072, 2300, 1900, 1292}, {16, 25, 38, 38}},
};

constexpr std::array<std::array<VersionInformation, kMaxVersion + 1>, 2> makeBuildInformation() {
    std::array<std::array<VersionInformation, kMaxVersion + 1>, 2> table{};
    for (int v = 1; v <= kMaxVersion; ++v) {
        table[0][v] = kModel1Rows[v - 1];
        const Model2Row& row = kModel2Rows[v - 1];
        VersionInformation info{};
        info.totalCodewords = row.total;
        for (int l = 0; l < 4; ++l) {
            info.dataCodewords[l] = static_cast<uint16_t>(row.total - row.ecc[l] * row.blocks[l]);
            info.blocks[l] = row.blocks[l];
        }
        table[1][v] = info;
    }
    return table;
}

// Indexed [model][version]; version 0 is empty.
constexpr auto ORVOQRCodeSQrCodeBuildInformation = makeBuildInformation();

// Character-count indicator widths by version group (1-9, 10-26, 27-40) and mode.
constexpr uint8_t ORVOQRCodeSbyIndicaterLength[3][4] = {{10, 9, 8, 8}, {12, 11, 16, 10}, {14, 13, 16, 12}};

// Bits of a trailing partial group: numeric by leftover digits, alphanumeric by leftover characters.
constexpr uint8_t ORVOQRCodeSbyBitLengthNumeric[3] = {0, 4, 7};
constexpr uint8_t ORVOQRCodeSbyBitLengthAlnum[2] = {0, 6};

constexpr uint8_t kModeIndicator[4] = {0x1, 0x2, 0x4, 0x8};

// Alignment-pattern spacing by version (0 for version 1, which has none).
constexpr uint8_t kAlignmentSpacing[kMaxVersion + 1] = {
    0,  0,  12, 16, 20, 24, 28, 16, 18, 20, 22, 24, 26, 28, 20, 22, 24, 24, 26, 28, 28,
    22, 24, 24, 26, 26, 28, 28, 24, 24, 26, 26, 26, 28, 28, 24, 26, 26, 26, 28, 28};

// Format level bits for L, M, Q, H.
constexpr uint8_t kFormatLevelBits[4] = {0x1, 0x0, 0x3, 0x2};

// Alphanumeric values: -1 for characters outside the set.
constexpr std::array<int8_t, 256> makeAlnumTable() {
    std::array<int8_t, 256> table{};
    for (auto& v : table) v = -1;
    for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 26; ++i) table['A' + i] = static_cast<int8_t>(10 + i);
    const char* rest = " $%*+-./:";
    for (int i = 0; rest[i] != 0; ++i) table[static_cast<uint8_t>(rest[i])] = static_cast<int8_t>(36 + i);
    return table;
}
constexpr auto kAlnumValue = makeAlnumTable();

// ---------------------------------------------------------------------------------------------
// GF(256) over x^8 + x^4 + x^3 + x^2 + 1 (0x11D) and the Reed-Solomon generator polynomials.

struct Galois {
    uint8_t exp[512];
    uint8_t log[256];
};

constexpr Galois makeGalois() {
    Galois g{};
    int x = 1;
    for (int i = 0; i < 255; ++i) {
        g.exp[i] = static_cast<uint8_t>(x);
        g.log[x] = static_cast<uint8_t>(i);
        x <<= 1;
        if (x & 0x100) x ^= 0x11D;
    }
    for (int i = 255; i < 512; ++i) g.exp[i] = g.exp[i - 255];
    return g;
}
constexpr Galois kGalois = makeGalois();

constexpr uint8_t gfMul(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kGalois.exp[kGalois.log[a] + kGalois.log[b]];
}

// Generator polynomial of degree e = product of (x - a^i), i = 0..e-1; coefficients from x^(e-1) down
// to x^0 (the leading 1 is implied), stored as logarithms.
struct Generators {
    uint8_t logCoefficients[kMaxEccPerBlock + 1][kMaxEccPerBlock];
};

constexpr Generators makeGenerators() {
    Generators table{};
    for (int e = 1; e <= kMaxEccPerBlock; ++e) {
        uint8_t poly[kMaxEccPerBlock + 1] = {};  // poly[0] is the x^degree coefficient
        poly[0] = 1;
        int degree = 0;
        for (int i = 0; i < e; ++i) {
            // multiply by (x + a^i)
            uint8_t root = kGalois.exp[i];
            uint8_t next[kMaxEccPerBlock + 1] = {};
            for (int k = 0; k <= degree; ++k) {
                next[k] ^= poly[k];
                next[k + 1] ^= gfMul(poly[k], root);
            }
            ++degree;
            for (int k = 0; k <= degree; ++k) poly[k] = next[k];
        }
        for (int k = 0; k < e; ++k) table.logCoefficients[e][k] = kGalois.log[poly[k + 1]];
    }
    return table;
}
constexpr Generators kGenerators = makeGenerators();

// ---------------------------------------------------------------------------------------------
// Version information (BCH(18,6), generator 0x1F25) and format information (BCH(15,5), 0x537).

constexpr std::array<uint32_t, kMaxVersion + 1> makeVersionWords() {
    std::array<uint32_t, kMaxVersion + 1> table{};
    for (uint32_t v = 7; v <= kMaxVersion; ++v) {
        uint32_t rem = v;
        for (int i = 0; i < 12; ++i) rem = (rem << 1) ^ ((rem >> 11) * 0x1F25);
        table[v] = (v << 12) | (rem & 0xFFF);
    }
    return table;
}
constexpr auto kVersionWords = makeVersionWords();

constexpr uint32_t formatWord(int level, int mask, int model) {
    uint32_t data = (static_cast<uint32_t>(kFormatLevelBits[level]) << 3) | static_cast<uint32_t>(mask);
    uint32_t rem = data;
    for (int i = 0; i < 10; ++i) rem = (rem << 1) ^ ((rem >> 9) * 0x537);
    return ((data << 10) | (rem & 0x3FF)) ^ (model == 0 ? 0x2825u : 0x5412u);
}

// ---------------------------------------------------------------------------------------------
// Mask patterns: a set bit inverts the data module. All eight repeat every 12 rows and 6 columns,
// so one table of 12 rows covers every row.

constexpr bool maskBit(int mask, int i, int j) {
    switch (mask) {
        case 0: return (i + j) % 2 == 0;
        case 1: return i % 2 == 0;
        case 2: return j % 3 == 0;
        case 3: return (i + j) % 3 == 0;
        case 4: return (i / 2 + j / 3) % 2 == 0;
        case 5: return (i * j) % 2 + (i * j) % 3 == 0;
        case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

struct MaskRows {
    uint8_t bytes[8][12][kRowBytes];
};

constexpr MaskRows makeMaskRows() {
    MaskRows table{};
    for (int m = 0; m < 8; ++m)
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < kRowBytes * 8; ++j)
                if (maskBit(m, i, j)) table.bytes[m][i][j >> 3] |= static_cast<uint8_t>(0x80 >> (j & 7));
    return table;
}
constexpr MaskRows kMaskRows = makeMaskRows();

// ---------------------------------------------------------------------------------------------
// Small helpers over the byte-row matrices.

inline void setModule(Matrix& m, int row, int column, bool dark) {
    uint8_t bit = static_cast<uint8_t>(0x80 >> (column & 7));
    if (dark)
        m[row][column >> 3] |= bit;
    else
        m[row][column >> 3] &= static_cast<uint8_t>(~bit);
}

inline bool getModule(const Matrix& m, int row, int column) {
    return (m[row][column >> 3] >> (7 - (column & 7))) & 1;
}

// Function-module map of one symbol: which modules are fixed and which of those are dark. Format
// modules are reserved here and drawn per mask.
struct FunctionPatterns {
    Matrix reserved;
    Matrix dark;
};

void setFunction(FunctionPatterns& f, int row, int column, bool dark) {
    setModule(f.reserved, row, column, true);
    setModule(f.dark, row, column, dark);
}

void drawFinder(FunctionPatterns& f, int n, int centreRow, int centreColumn) {
    for (int dr = -4; dr <= 4; ++dr) {
        for (int dc = -4; dc <= 4; ++dc) {
            int r = centreRow + dr;
            int c = centreColumn + dc;
            if (r < 0 || r >= n || c < 0 || c >= n) continue;
            int distance = dr < 0 ? -dr : dr;
            int dcAbs = dc < 0 ? -dc : dc;
            if (dcAbs > distance) distance = dcAbs;
            setFunction(f, r, c, distance != 2 && distance != 4);
        }
    }
}

void drawAlignment(FunctionPatterns& f, int centreRow, int centreColumn) {
    for (int dr = -2; dr <= 2; ++dr) {
        for (int dc = -2; dc <= 2; ++dc) {
            int distance = dr < 0 ? -dr : dr;
            int dcAbs = dc < 0 ? -dc : dc;
            if (dcAbs > distance) distance = dcAbs;
            setFunction(f, centreRow + dr, centreColumn + dc, distance != 1);
        }
    }
}

// The format modules as (row, column) pairs for bit i (0 = least significant) of the 15-bit word:
// first copy around the top-left finder, second copy split between the other two.
void formatPositions(int n, int bit, int positions[2][2]) {
    int r1, c1, r2, c2;
    if (bit < 6) {
        r1 = bit;
        c1 = 8;
    } else if (bit < 8) {
        r1 = bit + 1;
        c1 = 8;
    } else if (bit == 8) {
        r1 = 8;
        c1 = 7;
    } else {
        r1 = 8;
        c1 = 14 - bit;
    }
    if (bit < 8) {
        r2 = 8;
        c2 = n - 1 - bit;
    } else {
        r2 = n - 15 + bit;
        c2 = 8;
    }
    positions[0][0] = r1;
    positions[0][1] = c1;
    positions[1][0] = r2;
    positions[1][1] = c2;
}

void ORVOQRCodeSetPattern(FunctionPatterns& f, int model, int version) {
    const int n = 4 * version + 17;
    std::memset(&f, 0, sizeof f);
    drawFinder(f, n, 3, 3);
    drawFinder(f, n, 3, n - 4);
    drawFinder(f, n, n - 4, 3);
    for (int i = 8; i < n - 8; ++i) {
        setFunction(f, 6, i, i % 2 == 0);
        setFunction(f, i, 6, i % 2 == 0);
    }
    // Format modules (drawn per mask) and the fixed dark module.
    for (int bit = 0; bit < 15; ++bit) {
        int positions[2][2];
        formatPositions(n, bit, positions);
        setFunction(f, positions[0][0], positions[0][1], false);
        setFunction(f, positions[1][0], positions[1][1], false);
    }
    setFunction(f, n - 8, 8, true);
    if (model == 0) return;  // Model 1: no alignment patterns and no version information.

    int spacing = kAlignmentSpacing[version];
    if (spacing != 0) {
        int centres[8];
        int count = 0;
        centres[count++] = 6;
        for (int c = n - 7; c > 8 && count < 8; c -= spacing) centres[count++] = c;
        for (int a = 0; a < count; ++a) {
            for (int b = 0; b < count; ++b) {
                int r = centres[a];
                int c = centres[b];
                if ((r == 6 && c == 6) || (r == 6 && c == n - 7) || (r == n - 7 && c == 6)) continue;
                drawAlignment(f, r, c);
            }
        }
    }
    if (version >= 7) {
        uint32_t word = kVersionWords[version];
        for (int i = 0; i < 18; ++i) {
            bool dark = (word >> i) & 1;
            int a = n - 11 + i % 3;
            int b = i / 3;
            setFunction(f, a, b, dark);
            setFunction(f, b, a, dark);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Segmentation.

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool isAlnum(uint8_t c) { return kAlnumValue[c] >= 0; }
bool isKanjiPair(uint8_t first, uint8_t second) {
    bool secondOk = (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFC);
    if ((first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xEA)) return secondOk;
    if (first == 0xEB) return (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xBF);
    return false;
}

int alnumBits(int n) { return 11 * (n / 2) + 6 * (n % 2); }
int numericBits(int n) { return 10 * (n / 3) + ORVOQRCodeSbyBitLengthNumeric[n % 3]; }

// Segments as offsets while the table is built; the pointers are set at the end.
struct Segment {
    uint16_t start;
    uint16_t length;
    uint8_t mode;
};

struct SegmentTable {
    Segment entries[ORVOQRCodeSegmentCapacity];
    int count;
};

// Replaces segment i by prefix / run / suffix; false (table unchanged) when the result would not fit.
// On success returns the index of the run's entry in 'runIndex'.
bool splitSegment(SegmentTable& t, int i, int runStart, int runLength, uint8_t runMode, int& runIndex) {
    Segment old = t.entries[i];
    int prefix = runStart - old.start;
    int suffix = old.start + old.length - (runStart + runLength);
    int pieces = (prefix > 0 ? 1 : 0) + 1 + (suffix > 0 ? 1 : 0);
    if (t.count + pieces - 1 > ORVOQRCodeSegmentCapacity) return false;
    int shift = pieces - 1;
    for (int k = t.count - 1; k > i; --k) t.entries[k + shift] = t.entries[k];
    t.count += shift;
    int at = i;
    if (prefix > 0) t.entries[at++] = {old.start, static_cast<uint16_t>(prefix), old.mode};
    runIndex = at;
    t.entries[at++] = {static_cast<uint16_t>(runStart), static_cast<uint16_t>(runLength), runMode};
    if (suffix > 0)
        t.entries[at] = {static_cast<uint16_t>(runStart + runLength), static_cast<uint16_t>(suffix), old.mode};
    return true;
}

void kanjiPass(SegmentTable& t, const uint8_t* in) {
    for (int i = 0; i < t.count; ++i) {
        if (t.entries[i].mode != ORVOQRCodeModeByte) continue;
        int p = t.entries[i].start;
        for (;;) {
            const Segment& s = t.entries[i];
            int end = s.start + s.length;
            if (p + 1 >= end) break;
            if (!isKanjiPair(in[p], in[p + 1])) {
                ++p;
                continue;
            }
            int run = 0;
            while (p + run + 1 < end && isKanjiPair(in[p + run], in[p + run + 1])) run += 2;
            bool whole = run == s.length;
            if (whole) {
                t.entries[i].mode = ORVOQRCodeModeKanji;
                break;
            }
            if (8 * run >= 13 * (run / 2) + 16) {
                int runIndex = 0;
                if (!splitSegment(t, i, p, run, ORVOQRCodeModeKanji, runIndex)) return;
                i = runIndex;
                if (i + 1 < t.count && t.entries[i + 1].start == p + run &&
                    t.entries[i + 1].mode == ORVOQRCodeModeByte) {
                    i = i + 1;
                    p = t.entries[i].start;
                    continue;
                }
                break;
            }
            p += run;
        }
    }
}

// One split pass for alphanumeric runs in byte segments or numeric runs in alphanumeric and byte
// segments.
void runPass(SegmentTable& t, const uint8_t* in, uint8_t newMode) {
    for (int i = 0; i < t.count; ++i) {
        uint8_t mode = t.entries[i].mode;
        bool eligible = newMode == ORVOQRCodeModeAlphanumeric
                            ? mode == ORVOQRCodeModeByte
                            : (mode == ORVOQRCodeModeByte || mode == ORVOQRCodeModeAlphanumeric);
        if (!eligible) continue;
        int p = t.entries[i].start;
        for (;;) {
            const Segment& s = t.entries[i];
            int end = s.start + s.length;
            if (p >= end) break;
            bool member = newMode == ORVOQRCodeModeAlphanumeric ? isAlnum(in[p]) : isDigit(in[p]);
            if (!member) {
                ++p;
                continue;
            }
            int n = 0;
            while (p + n < end && (newMode == ORVOQRCodeModeAlphanumeric ? isAlnum(in[p + n]) : isDigit(in[p + n])))
                ++n;
            if (n == s.length) {
                t.entries[i].mode = newMode;
                break;
            }
            bool worth;
            if (newMode == ORVOQRCodeModeAlphanumeric) {
                worth = 8 * n >= alnumBits(n) + 17;
            } else {
                int present = s.mode == ORVOQRCodeModeByte ? 8 * n : alnumBits(n);
                worth = present >= numericBits(n) + 18;
            }
            if (worth) {
                uint8_t oldMode = s.mode;
                int runIndex = 0;
                if (!splitSegment(t, i, p, n, newMode, runIndex)) return;
                i = runIndex;
                if (i + 1 < t.count && t.entries[i + 1].start == p + n && t.entries[i + 1].mode == oldMode) {
                    i = i + 1;
                    p = t.entries[i].start;
                    continue;
                }
                break;
            }
            p += n;
        }
    }
}

void mergePass(SegmentTable& t) {
    int i = 0;
    while (i + 1 < t.count) {
        Segment& a = t.entries[i];
        Segment& b = t.entries[i + 1];
        const Segment* alnum = nullptr;
        if (a.mode == ORVOQRCodeModeAlphanumeric && b.mode == ORVOQRCodeModeByte) alnum = &a;
        if (a.mode == ORVOQRCodeModeByte && b.mode == ORVOQRCodeModeAlphanumeric) alnum = &b;
        if (alnum != nullptr && 8 * alnum->length < alnumBits(alnum->length) + 17) {
            a.length = static_cast<uint16_t>(a.length + b.length);
            a.mode = ORVOQRCodeModeByte;
            for (int k = i + 1; k + 1 < t.count; ++k) t.entries[k] = t.entries[k + 1];
            --t.count;
        }
        ++i;
    }
}

void ORVOQRCodeAnalyzeQrCode(SegmentTable& t, const uint8_t* in, int length) {
    t.count = 1;
    t.entries[0] = {0, static_cast<uint16_t>(length), ORVOQRCodeModeByte};
    kanjiPass(t, in);
    runPass(t, in, ORVOQRCodeModeAlphanumeric);
    runPass(t, in, ORVOQRCodeModeNumeric);
    mergePass(t);
}

// Checks a caller-filled table against the input: every slice inside it, every byte valid for its mode.
bool validateSegments(SegmentTable& t, const ORVOQRCodeInformationStruct& info) {
    int count = info.segmentCount;
    if (count <= 0 || count > ORVOQRCodeSegmentCapacity) return false;
    int offset = 0;
    for (int i = 0; i < count; ++i) {
        const ORVOQRCodeBlockStruct& block = info.segments[i];
        if (block.mode > ORVOQRCodeModeKanji) return false;
        if (block.length > info.inputLength - offset) return false;
        const uint8_t* data = info.input + offset;
        for (int k = 0; k < block.length; ++k) {
            if (block.mode == ORVOQRCodeModeNumeric && !isDigit(data[k])) return false;
            if (block.mode == ORVOQRCodeModeAlphanumeric && !isAlnum(data[k])) return false;
        }
        if (block.mode == ORVOQRCodeModeKanji) {
            if (block.length % 2 != 0) return false;
            for (int k = 0; k < block.length; k += 2)
                if (!isKanjiPair(data[k], data[k + 1])) return false;
        }
        t.entries[i] = {static_cast<uint16_t>(offset), block.length, block.mode};
        offset += block.length;
    }
    t.count = count;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Version choice and bit stream.

int groupOf(int version) { return version <= 9 ? 0 : (version <= 26 ? 1 : 2); }

int characterCount(const Segment& s) { return s.mode == ORVOQRCodeModeKanji ? s.length / 2 : s.length; }

long streamBits(const SegmentTable& t, int group, int model) {
    long bits = model == 0 ? 4 : 0;
    for (int i = 0; i < t.count; ++i) {
        const Segment& s = t.entries[i];
        bits += 4 + ORVOQRCodeSbyIndicaterLength[group][s.mode];
        switch (s.mode) {
            case ORVOQRCodeModeNumeric: bits += numericBits(s.length); break;
            case ORVOQRCodeModeAlphanumeric: bits += alnumBits(s.length); break;
            case ORVOQRCodeModeByte: bits += 8L * s.length; break;
            default: bits += 13L * (s.length / 2); break;
        }
    }
    return bits;
}

int chooseVersion(const SegmentTable& t, int model, int level) {
    const auto& table = ORVOQRCodeSQrCodeBuildInformation[model];
    static constexpr int groupLast[3] = {9, 26, 40};
    int group = 0;
    long needed = 0;
    for (group = 0; group < 3; ++group) {
        needed = (streamBits(t, group, model) + 7) / 8;
        if (group == 2 || needed <= table[groupLast[group]].dataCodewords[level]) break;
    }
    for (int v = 1; v <= kMaxVersion; ++v) {
        if (needed <= table[v].dataCodewords[level]) {
            // Every count must fit its indicator in the chosen version.
            for (int i = 0; i < t.count; ++i) {
                int width = ORVOQRCodeSbyIndicaterLength[groupOf(v)][t.entries[i].mode];
                if (characterCount(t.entries[i]) >= (1L << width)) return 0;
            }
            return v;
        }
    }
    return 0;
}

// Writes bits most significant first; never past the capacity.
struct BitWriter {
    uint8_t* data;
    long capacityBits;
    long position;
    bool overflow;

    void put(uint32_t value, int count) {
        if (position + count > capacityBits) {
            overflow = true;
            return;
        }
        for (int i = count - 1; i >= 0; --i) {
            if ((value >> i) & 1) data[position >> 3] |= static_cast<uint8_t>(0x80 >> (position & 7));
            ++position;
        }
    }
};

void ORVOQRCodeConvertNumeric(BitWriter& w, const uint8_t* d, int n) {
    int i = 0;
    for (; i + 3 <= n; i += 3) w.put((d[i] - '0') * 100 + (d[i + 1] - '0') * 10 + (d[i + 2] - '0'), 10);
    if (n - i == 2) w.put((d[i] - '0') * 10 + (d[i + 1] - '0'), 7);
    if (n - i == 1) w.put(d[i] - '0', 4);
}

void ORVOQRCodeConvertAlnum(BitWriter& w, const uint8_t* d, int n) {
    int i = 0;
    for (; i + 2 <= n; i += 2) w.put(static_cast<uint32_t>(kAlnumValue[d[i]] * 45 + kAlnumValue[d[i + 1]]), 11);
    if (i < n) w.put(static_cast<uint32_t>(kAlnumValue[d[i]]), 6);
}

void ORVOQRCodeConvertByte(BitWriter& w, const uint8_t* d, int n) {
    for (int i = 0; i < n; ++i) w.put(d[i], 8);
}

void ORVOQRCodeConvertKanji(BitWriter& w, const uint8_t* d, int n) {
    for (int i = 0; i + 1 < n; i += 2) {
        int code = d[i] * 0xC0 + d[i + 1];
        code -= d[i] <= 0xDF ? 0x6100 : 0x9100;
        w.put(static_cast<uint32_t>(code), 13);
    }
}

// Fills 'codewords' with the data codewords (terminator and pads included); false on overflow.
bool encodeData(const SegmentTable& t, const uint8_t* in, int model, int version, int dataCodewords,
                uint8_t* codewords) {
    std::memset(codewords, 0, static_cast<size_t>(dataCodewords));
    BitWriter w{codewords, 8L * dataCodewords, 0, false};
    if (model == 0) w.put(0, 4);
    int group = groupOf(version);
    for (int i = 0; i < t.count; ++i) {
        const Segment& s = t.entries[i];
        w.put(kModeIndicator[s.mode], 4);
        w.put(static_cast<uint32_t>(characterCount(s)), ORVOQRCodeSbyIndicaterLength[group][s.mode]);
        const uint8_t* d = in + s.start;
        switch (s.mode) {
            case ORVOQRCodeModeNumeric: ORVOQRCodeConvertNumeric(w, d, s.length); break;
            case ORVOQRCodeModeAlphanumeric: ORVOQRCodeConvertAlnum(w, d, s.length); break;
            case ORVOQRCodeModeByte: ORVOQRCodeConvertByte(w, d, s.length); break;
            default: ORVOQRCodeConvertKanji(w, d, s.length); break;
        }
    }
    if (w.overflow) return false;
    // Terminator and zero padding: the partial byte (or a zero byte), and one more when the terminator
    // does not fit in what is left of the partial byte.
    long used = w.position / 8;
    if (used < dataCodewords) ++used;
    if (w.position % 8 > 4 && used < dataCodewords) ++used;
    for (long i = used, k = 0; i < dataCodewords; ++i, ++k) codewords[i] = (k % 2 == 0) ? 0xEC : 0x11;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Error correction and interleaving.

void reedSolomon(const uint8_t* data, int length, int ecc, uint8_t* out) {
    std::memset(out, 0, static_cast<size_t>(ecc));
    const uint8_t* g = kGenerators.logCoefficients[ecc];
    for (int i = 0; i < length; ++i) {
        uint8_t factor = data[i] ^ out[0];
        std::memmove(out, out + 1, static_cast<size_t>(ecc - 1));
        out[ecc - 1] = 0;
        if (factor != 0) {
            int logFactor = kGalois.log[factor];
            for (int k = 0; k < ecc; ++k) out[k] ^= kGalois.exp[g[k] + logFactor];
        }
    }
}

// Interleaves data and error-correction codewords into 'out' (total codewords long).
bool ORVOQRCodeSetCorrectionCode(const uint8_t* data, const VersionInformation& info, int level, uint8_t* out) {
    const int total = info.totalCodewords;
    const int dataCount = info.dataCodewords[level];
    const int blocks = info.blocks[level];
    if (blocks <= 0) return false;
    const int ecc = (total - dataCount) / blocks;
    if (ecc <= 0 || ecc > kMaxEccPerBlock) return false;
    const int shortBlocks = blocks - dataCount % blocks;
    const int shortLength = dataCount / blocks;

    uint8_t eccBuffer[kMaxTotalCodewords];
    int position = 0;
    for (int b = 0; b < blocks; ++b) {
        int start = b * shortLength + (b > shortBlocks ? b - shortBlocks : 0);
        int length = shortLength + (b >= shortBlocks ? 1 : 0);
        reedSolomon(data + start, length, ecc, eccBuffer + b * ecc);
    }
    for (int i = 0; i <= shortLength; ++i) {
        for (int b = 0; b < blocks; ++b) {
            if (i == shortLength && b < shortBlocks) continue;
            int start = b * shortLength + (b > shortBlocks ? b - shortBlocks : 0);
            out[position++] = data[start + i];
        }
    }
    for (int i = 0; i < ecc; ++i)
        for (int b = 0; b < blocks; ++b) out[position++] = eccBuffer[b * ecc + i];
    for (int k = 0; position < total; ++position, ++k) out[position] = (k % 2 == 0) ? 0xEC : 0x11;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Codeword placement: two-module-wide columns from the bottom-right corner, alternating up and
// down, skipping function modules and the vertical timing column. Returns false when the symbol
// has fewer free modules than codeword bits.
bool ORVOQRCodeSetCharacterWithUpdatePosition(Matrix& work, const FunctionPatterns& f, int n,
                                              const uint8_t* codewords, int total) {
    std::memset(work, 0, sizeof(Matrix));
    const long totalBits = 8L * total;
    long bit = 0;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;
        bool upward = ((right + 1) & 2) == 0;
        for (int vertical = 0; vertical < n; ++vertical) {
            int row = upward ? n - 1 - vertical : vertical;
            for (int j = 0; j < 2; ++j) {
                int column = right - j;
                if (getModule(f.reserved, row, column)) continue;
                if (bit < totalBits) {
                    if ((codewords[bit >> 3] >> (7 - (bit & 7))) & 1) setModule(work, row, column, true);
                    ++bit;
                }
            }
        }
    }
    return bit == totalBits;
}

// ---------------------------------------------------------------------------------------------
// Masking and scoring.

void ORVOQRCodeMakePattern(Matrix& symbol, const Matrix& work, const FunctionPatterns& f, int n, int model,
                           int level, int mask) {
    const int rowBytes = (n + 7) / 8;
    for (int r = 0; r < n; ++r) {
        const uint8_t* maskRow = kMaskRows.bytes[mask][r % 12];
        for (int b = 0; b < rowBytes; ++b)
            symbol[r][b] = static_cast<uint8_t>(((work[r][b] ^ maskRow[b]) & ~f.reserved[r][b]) | f.dark[r][b]);
        for (int b = rowBytes; b < kRowBytes; ++b) symbol[r][b] = 0;
    }
    uint32_t word = formatWord(level, mask, model);
    for (int bit = 0; bit < 15; ++bit) {
        int positions[2][2];
        formatPositions(n, bit, positions);
        bool dark = (word >> bit) & 1;
        setModule(symbol, positions[0][0], positions[0][1], dark);
        setModule(symbol, positions[1][0], positions[1][1], dark);
    }
}

void ORVOQRCodeWipeOutPattern(Matrix& symbol, int n) {
    const int lastByte = (n - 1) / 8;
    const uint8_t keep = static_cast<uint8_t>(0xFF << (7 - ((n - 1) & 7)));
    for (int r = 0; r < kSize; ++r) {
        if (r >= n) {
            std::memset(symbol[r], 0, kRowBytes);
            continue;
        }
        symbol[r][lastByte] &= keep;
        for (int b = lastByte + 1; b < kRowBytes; ++b) symbol[r][b] = 0;
    }
}

struct Row64 {
    uint64_t w[3];
};

inline Row64 loadRow(const uint8_t* bytes) {
    Row64 row{};
    for (int k = 0; k < 3; ++k) {
        uint64_t v = 0;
        for (int b = 0; b < 8; ++b) {
            int index = k * 8 + b;
            v = (v << 8) | (index < kRowBytes ? bytes[index] : 0);
        }
        row.w[k] = v;
    }
    return row;
}

inline Row64 shiftLeftOne(const Row64& r) {
    return {{(r.w[0] << 1) | (r.w[1] >> 63), (r.w[1] << 1) | (r.w[2] >> 63), r.w[2] << 1}};
}

// Columns 0..count-1 set.
inline Row64 columnMask(int count) {
    Row64 m{};
    for (int k = 0; k < 3; ++k) {
        int bits = count - 64 * k;
        if (bits >= 64)
            m.w[k] = ~0ULL;
        else if (bits > 0)
            m.w[k] = ~0ULL << (64 - bits);
        else
            m.w[k] = 0;
    }
    return m;
}

// 3 points for every 2 x 2 square of one colour.
int blockScore(const Matrix& symbol, int n) {
    const Row64 mask = columnMask(n - 1);
    int squares = 0;
    Row64 upper = loadRow(symbol[0]);
    for (int r = 0; r + 1 < n; ++r) {
        Row64 lower = loadRow(symbol[r + 1]);
        Row64 shiftedUpper = shiftLeftOne(upper);
        Row64 shiftedLower = shiftLeftOne(lower);
        for (int k = 0; k < 3; ++k) {
            uint64_t vertical = ~(upper.w[k] ^ lower.w[k]);
            uint64_t verticalNext = ~(shiftedUpper.w[k] ^ shiftedLower.w[k]);
            uint64_t horizontal = ~(upper.w[k] ^ shiftedUpper.w[k]);
            squares += __builtin_popcountll(vertical & verticalNext & horizontal & mask.w[k]);
        }
        upper = lower;
    }
    return 3 * squares;
}

// Scores one line of modules given as run lengths that begin with a (possibly empty) dark run.
int scoreRuns(const int* runs, int count) {
    int score = 0;
    for (int i = 0; i < count; ++i)
        if (runs[i] > 4) score += runs[i] - 2;
    for (int i = 0; i + 4 < count; i += 2) {
        int x = runs[i];
        if (x > 0 && runs[i + 1] == x && runs[i + 2] == 3 * x && runs[i + 3] == x && runs[i + 4] == x) score += 40;
    }
    return score;
}

int ORVOQRCodeCheckPatternHard(const Matrix& symbol, int n) {
    if (n == 0) return 100;
    int runs[kSize + 2];
    int score = 0;
    long dark = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int line = 0; line < n; ++line) {
            int count = 0;
            bool current = true;  // runs are listed from a dark run
            int length = 0;
            for (int k = 0; k < n; ++k) {
                bool module = pass == 0 ? getModule(symbol, line, k) : getModule(symbol, k, line);
                if (pass == 0 && module) ++dark;
                if (module == current) {
                    ++length;
                } else {
                    runs[count++] = length;
                    current = module;
                    length = 1;
                }
            }
            runs[count++] = length;
            score += scoreRuns(runs, count);
        }
    }
    long percent = 100 * dark / (static_cast<long>(n) * n);
    score += 2 * static_cast<int>(percent > 50 ? percent - 50 : 50 - percent);
    return score;
}

int chooseMask(Matrix& symbol, const Matrix& work, const FunctionPatterns& f, int n, int model, int level) {
    int keptMask[3];
    int keptScore[3];
    int kept = 0;
    for (int mask = 0; mask < 8; ++mask) {
        ORVOQRCodeMakePattern(symbol, work, f, n, model, level, mask);
        int score = blockScore(symbol, n);
        int at = kept;
        while (at > 0 && score < keptScore[at - 1]) --at;
        if (at >= 3) continue;
        int last = kept < 3 ? kept : 2;
        for (int k = last; k > at; --k) {
            keptMask[k] = keptMask[k - 1];
            keptScore[k] = keptScore[k - 1];
        }
        keptMask[at] = mask;
        keptScore[at] = score;
        if (kept < 3) ++kept;
    }
    int best = keptMask[0];
    int bestTotal = -1;
    int bestBlock = 0;
    for (int k = 0; k < kept; ++k) {
        ORVOQRCodeMakePattern(symbol, work, f, n, model, level, keptMask[k]);
        int total = keptScore[k] + ORVOQRCodeCheckPatternHard(symbol, n);
        if (bestTotal < 0 || total < bestTotal || (total == bestTotal && keptScore[k] < bestBlock)) {
            best = keptMask[k];
            bestTotal = total;
            bestBlock = keptScore[k];
        }
    }
    return best;
}

int fail(ORVOQRCodeInformationStruct* information) {
    information->symbolSize = 0;
    return 0;
}

}  // namespace

void ORVOQRCodeInitialize(ORVOQRCodeInformationStruct* information) {
    if (information == nullptr) return;
    information->symbolSize = 0;
    information->segmentCount = 0;
    information->inputLength = 0;
    information->version = 0;
    information->model = 1;
    information->moduleScale = 3;
    information->level = 0;
}

int ORVOQRCodeDataCodewords(int model, int version, int level) {
    if (model < 0 || model > 1 || version < 1 || version > kMaxVersion || level < 0 || level > 3) return 0;
    return ORVOQRCodeSQrCodeBuildInformation[model][version].dataCodewords[level];
}

int ORVOQRCodeTotalCodewords(int model, int version) {
    if (model < 0 || model > 1 || version < 1 || version > kMaxVersion) return 0;
    return ORVOQRCodeSQrCodeBuildInformation[model][version].totalCodewords;
}

int ORVOQRCodeGenerate(ORVOQRCodeInformationStruct* information) {
    if (information == nullptr) return 0;
    ORVOQRCodeInformationStruct& info = *information;
    if (info.model > 1 || info.level > 3 || info.inputLength > ORVOQRCodeInputCapacity) return fail(information);

    SegmentTable table;
    if (info.segmentCount >= ORVOQRCodeSegmentCapacity) {
        ORVOQRCodeAnalyzeQrCode(table, info.input, info.inputLength);
    } else if (!validateSegments(table, info)) {
        return fail(information);
    }

    const int model = info.model;
    const int level = info.level;
    const int version = chooseVersion(table, model, level);
    if (version == 0) return fail(information);
    const VersionInformation& versionInfo = ORVOQRCodeSQrCodeBuildInformation[model][version];
    const int n = 4 * version + 17;

    // Data codewords in the symbol matrix (scratch), the interleaved sequence on the stack.
    uint8_t* data = &info.symbolMatrix[0][0];
    static_assert(sizeof(info.symbolMatrix) >= kMaxTotalCodewords);
    if (!encodeData(table, info.input, model, version, versionInfo.dataCodewords[level], data))
        return fail(information);
    uint8_t sequence[kMaxTotalCodewords];
    if (!ORVOQRCodeSetCorrectionCode(data, versionInfo, level, sequence)) return fail(information);

    FunctionPatterns patterns;
    ORVOQRCodeSetPattern(patterns, model, version);
    if (!ORVOQRCodeSetCharacterWithUpdatePosition(info.workMatrix, patterns, n, sequence,
                                                  versionInfo.totalCodewords))
        return fail(information);

    int mask = chooseMask(info.symbolMatrix, info.workMatrix, patterns, n, model, level);
    ORVOQRCodeMakePattern(info.symbolMatrix, info.workMatrix, patterns, n, model, level, mask);
    ORVOQRCodeWipeOutPattern(info.symbolMatrix, n);

    for (int i = 0; i < table.count; ++i) {
        info.segments[i].length = table.entries[i].length;
        info.segments[i].mode = table.entries[i].mode;
        info.segments[i].pointer = info.input + table.entries[i].start;
    }
    info.segmentCount = static_cast<uint16_t>(table.count);
    info.version = static_cast<uint8_t>(version);
    info.symbolSize = static_cast<uint16_t>(n);
    return 1;
}
