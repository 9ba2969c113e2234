#include "prelix10/command/ORVOPDF417.hpp"

#include <cstring>

#include "prelix10/command/ORVOPDF417ClusterTable.hpp"

namespace {

constexpr int kModulus = 929;
constexpr int kLatchText = 900;
constexpr int kLatchByte = 901;
constexpr int kLatchNumeric = 902;
constexpr int kLatchByteSix = 924;
constexpr int kPad = 900;
constexpr int kMaxRows = 90;
constexpr int kMaxColumns = 30;
constexpr int kMaxWidth = 8 * ORVOPDF417PatternRowBytes;  // 592

// Text compaction sub-modes and their values. -1 = not in the sub-mode.
enum SubMode { Alpha = 0, Lower = 1, Mixed = 2, Punctuation = 3 };

constexpr int kAlphaLatchLower = 27;
constexpr int kAlphaLatchMixed = 28;
constexpr int kShiftPunctuation = 29;
constexpr int kLowerShiftAlpha = 27;
constexpr int kLowerLatchMixed = 28;
constexpr int kMixedLatchPunctuation = 25;
constexpr int kMixedLatchLower = 27;
constexpr int kMixedLatchAlpha = 28;
constexpr int kPunctuationLatchAlpha = 29;

struct TextTables {
    int8_t value[4][128];
};

constexpr TextTables makeTextTables() {
    TextTables t{};
    for (auto& mode : t.value)
        for (auto& v : mode) v = -1;
    for (int i = 0; i < 26; ++i) {
        t.value[Alpha]['A' + i] = static_cast<int8_t>(i);
        t.value[Lower]['a' + i] = static_cast<int8_t>(i);
    }
    t.value[Alpha][' '] = 26;
    t.value[Lower][' '] = 26;
    for (int i = 0; i < 10; ++i) t.value[Mixed]['0' + i] = static_cast<int8_t>(i);
    const char mixed[] = "&\r\t,:#-.$/+%*=^";  // values 10..24
    for (int i = 0; mixed[i] != 0; ++i) t.value[Mixed][static_cast<uint8_t>(mixed[i])] = static_cast<int8_t>(10 + i);
    t.value[Mixed][' '] = 26;
    const char punctuation[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";  // values 0..28
    for (int i = 0; punctuation[i] != 0; ++i)
        t.value[Punctuation][static_cast<uint8_t>(punctuation[i])] = static_cast<int8_t>(i);
    return t;
}
constexpr TextTables kText = makeTextTables();

int textValue(int mode, uint8_t c) { return c < 128 ? kText.value[mode][c] : -1; }
bool isText(uint8_t c) {
    return c < 128 && (kText.value[Alpha][c] >= 0 || kText.value[Lower][c] >= 0 || kText.value[Mixed][c] >= 0 ||
                       kText.value[Punctuation][c] >= 0);
}
bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// Appends codewords, never past the capacity.
struct CodewordWriter {
    uint16_t* codewords;
    int count;
    int capacity;
    bool overflow;

    void put(int value) {
        if (count >= capacity) {
            overflow = true;
            return;
        }
        codewords[count++] = static_cast<uint16_t>(value);
    }
};

// Text values 0..29, paired into codewords.
struct TextPacker {
    CodewordWriter& out;
    int pending = -1;

    void put(int value) {
        if (pending < 0) {
            pending = value;
        } else {
            out.put(30 * pending + value);
            pending = -1;
        }
    }
    void flush() {
        if (pending >= 0) put(kShiftPunctuation);
    }
};

// Digits needed by numeric compaction in k codewords of capacity (latch included), as the run measure.
int digitsForCapacity(int k) {
    if (k <= 1) return 0;
    if (k <= 15) return 3 * k - 4;
    return 41 + 44 * ((k - 15) / 15);
}

void encodeNumericGroup(CodewordWriter& out, const uint8_t* digits, int count) {
    // Value "1" followed by the digits, in base 900: long division of a decimal number.
    uint8_t number[45];
    int length = 0;
    number[length++] = 1;
    for (int i = 0; i < count; ++i) number[length++] = static_cast<uint8_t>(digits[i] - '0');
    int result[16];
    int produced = 0;
    int start = 0;
    while (start < length) {
        int remainder = 0;
        int nextStart = length;
        for (int i = start; i < length; ++i) {
            int value = remainder * 10 + number[i];
            number[i] = static_cast<uint8_t>(value / kPad);
            remainder = value % kPad;
            if (number[i] != 0 && nextStart == length) nextStart = i;
        }
        result[produced++] = remainder;
        start = nextStart;
    }
    for (int i = produced - 1; i >= 0; --i) out.put(result[i]);
}

void encodeBytes(CodewordWriter& out, const uint8_t* data, int count) {
    out.put(count % 6 == 0 ? kLatchByteSix : kLatchByte);
    int i = 0;
    for (; i + 6 <= count; i += 6) {
        uint64_t value = 0;
        for (int k = 0; k < 6; ++k) value = (value << 8) | data[i + k];
        int group[5];
        for (int k = 4; k >= 0; --k) {
            group[k] = static_cast<int>(value % kPad);
            value /= kPad;
        }
        for (int k = 0; k < 5; ++k) out.put(group[k]);
    }
    for (; i < count; ++i) out.put(data[i]);
}

// The sub-mode to latch to for a character outside the present one.
int latchTarget(uint8_t c) {
    if (textValue(Alpha, c) >= 0) return Alpha;
    if (textValue(Lower, c) >= 0) return Lower;
    if (textValue(Mixed, c) >= 0) return Mixed;
    return Punctuation;
}

void latch(TextPacker& packer, int& mode, int target) {
    switch (mode) {
        case Alpha:
            if (target == Lower) packer.put(kAlphaLatchLower);
            if (target == Mixed) packer.put(kAlphaLatchMixed);
            if (target == Punctuation) {
                packer.put(kAlphaLatchMixed);
                packer.put(kMixedLatchPunctuation);
            }
            break;
        case Lower:
            if (target == Alpha) {
                packer.put(kLowerLatchMixed);
                packer.put(kMixedLatchAlpha);
            }
            if (target == Mixed) packer.put(kLowerLatchMixed);
            if (target == Punctuation) {
                packer.put(kLowerLatchMixed);
                packer.put(kMixedLatchPunctuation);
            }
            break;
        case Mixed:
            if (target == Alpha) packer.put(kMixedLatchAlpha);
            if (target == Lower) packer.put(kMixedLatchLower);
            if (target == Punctuation) packer.put(kMixedLatchPunctuation);
            break;
        default:
            packer.put(kPunctuationLatchAlpha);
            if (target == Lower) packer.put(kAlphaLatchLower);
            if (target == Mixed) packer.put(kAlphaLatchMixed);
            break;
    }
    mode = target;
}

// Text compaction of data[0..count), beginning in 'mode' (Alpha after any latch to text).
void encodeText(CodewordWriter& out, const uint8_t* data, int count) {
    TextPacker packer{out};
    int mode = Alpha;
    for (int i = 0; i < count; ++i) {
        uint8_t c = data[i];
        int value = textValue(mode, c);
        if (value >= 0) {
            packer.put(value);
            continue;
        }
        bool nextFits = i + 1 < count && textValue(mode, data[i + 1]) >= 0;
        int punctuation = textValue(Punctuation, c);
        if (punctuation >= 0 && mode != Punctuation && textValue(Mixed, c) < 0 && (nextFits || i + 1 == count)) {
            packer.put(kShiftPunctuation);
            packer.put(punctuation);
            continue;
        }
        if (mode == Lower && textValue(Alpha, c) >= 0 && nextFits) {
            packer.put(kLowerShiftAlpha);
            packer.put(textValue(Alpha, c));
            continue;
        }
        latch(packer, mode, latchTarget(c));
        packer.put(textValue(mode, c));
    }
    packer.flush();
}

// Length of the digit run at 'at', at most 'limit'.
int digitRun(const uint8_t* data, int length, int at, int limit) {
    int n = 0;
    while (at + n < length && n < limit && isDigit(data[at + n])) ++n;
    return n;
}

bool longDigitRunAt(const uint8_t* data, int length, int at) { return digitRun(data, length, at, 14) > 13; }

int ORVOPDF417Buffer2CodeWord(ORVOPDF417InformationStruct& info) {
    CodewordWriter out{info.codewords, 1, info.maxDataCodewords, false};
    const uint8_t* data = info.input;
    const int length = info.inputLength;
    int i = 0;
    while (i < length && !out.overflow) {
        int remaining = out.capacity - out.count;
        if (isDigit(data[i]) && remaining >= 2) {
            int run = digitRun(data, length, i, digitsForCapacity(remaining));
            if (run > 13) {
                // A fresh latch for every run: numeric groups shorter than 15 codewords end the run.
                out.put(kLatchNumeric);
                for (int k = 0; k < run; k += 44) encodeNumericGroup(out, data + i + k, run - k < 44 ? run - k : 44);
                i += run;
                continue;
            }
        }
        if (isText(data[i])) {
            int end = i;
            while (end < length && isText(data[end]) && !(end > i && longDigitRunAt(data, length, end))) ++end;
            // The symbol starts in text (Alpha); any later text run latches anew, which also resets the
            // sub-mode after a padded run.
            if (i > 0) out.put(kLatchText);
            encodeText(out, data + i, end - i);
            i = end;
            continue;
        }
        // Byte compaction: the non-text bytes, with short text stretches between them.
        int end = i;
        while (end < length) {
            if (!isText(data[end])) {
                ++end;
                continue;
            }
            int textEnd = end;
            while (textEnd < length && isText(data[textEnd])) ++textEnd;
            if (textEnd < length && textEnd - end < 5 && !longDigitRunAt(data, length, end)) {
                end = textEnd;
                continue;
            }
            break;
        }
        encodeBytes(out, data + i, end - i);
        i = end;
    }
    if (out.overflow) return 0;
    info.codewordCount = static_cast<uint16_t>(out.count);
    return 1;
}

void ORVOPDF417InitializeCodeWord(ORVOPDF417InformationStruct& info) {
    std::memset(info.codewords, 0, sizeof info.codewords);
    info.codewordCount = 1;
}

int ORVOPDF417CalculateEccLevel(ORVOPDF417InformationStruct& info) {
    if (info.requestedEccLevel > 8) return 0;
    info.eccLevel = info.requestedEccLevel;
    return 1;
}

int eccCount(int level) { return 1 << (level + 1); }

int ORVOPDF417CalculateRowColumn(ORVOPDF417InformationStruct& info) {
    const int needed = info.codewordCount + eccCount(info.eccLevel);
    int rows = info.requestedRows;
    int columns = info.requestedColumns;
    if (rows == 0) {
        rows = (needed + columns - 1) / columns;
        if (rows < 3) rows = 3;
    } else if (columns == 0) {
        columns = (needed + rows - 1) / rows;
        if (columns < 1) columns = 1;
    }
    if (rows < 3 || rows > kMaxRows || columns < 1 || columns > kMaxColumns || rows * columns > 928) return 0;
    if (rows * columns < needed) return 0;
    info.rows = static_cast<uint16_t>(rows);
    info.columns = static_cast<uint16_t>(columns);
    return 1;
}

int ORVOPDF417FinalizeCodeWord(ORVOPDF417InformationStruct& info) {
    const int dataCount = info.rows * info.columns - eccCount(info.eccLevel);
    if (dataCount < info.codewordCount || dataCount > ORVOPDF417MaxCodewords) return 0;
    for (int i = info.codewordCount; i < dataCount; ++i) info.codewords[i] = kPad;
    info.codewords[0] = static_cast<uint16_t>(dataCount);
    info.codewordCount = static_cast<uint16_t>(dataCount);
    return 1;
}

// Generator polynomial coefficients (x^k + c[k-1] x^(k-1) + ... + c[0]) with roots 3^1 .. 3^k.
struct EccGenerators {
    uint16_t coefficients[9][512];
};

constexpr EccGenerators makeEccGenerators() {
    EccGenerators table{};
    for (int level = 0; level <= 8; ++level) {
        const int k = 1 << (level + 1);
        int poly[513] = {};  // poly[j] = coefficient of x^j
        poly[0] = 1;
        int degree = 0;
        int power = 1;
        for (int i = 1; i <= k; ++i) {
            power = power * 3 % kModulus;
            // multiply by (x - power)
            for (int j = degree + 1; j >= 0; --j) {
                int shifted = j > 0 ? poly[j - 1] : 0;
                poly[j] = (shifted + (kModulus - power) * poly[j]) % kModulus;
            }
            ++degree;
        }
        for (int j = 0; j < k; ++j) table.coefficients[level][j] = static_cast<uint16_t>(poly[j]);
    }
    return table;
}
constexpr EccGenerators kEccGenerators = makeEccGenerators();

int ORVOPDF417CalculateEcc(ORVOPDF417InformationStruct& info) {
    const int k = eccCount(info.eccLevel);
    const int dataCount = info.codewordCount;
    if (dataCount + k > ORVOPDF417MaxCodewords + 1 || dataCount + k > info.rows * info.columns) return 0;
    const uint16_t* c = kEccGenerators.coefficients[info.eccLevel];
    int ecc[512] = {};
    for (int i = 0; i < dataCount; ++i) {
        int t = (info.codewords[i] + ecc[k - 1]) % kModulus;
        // One reduction per term: ecc + t * (929 - c) stays below 929 * 930.
        for (int j = k - 1; j > 0; --j) ecc[j] = (ecc[j - 1] + t * (kModulus - c[j])) % kModulus;
        ecc[0] = t * (kModulus - c[0]) % kModulus;
    }
    // The symbol holds at most 928 codewords: rows x columns <= 928 was checked.
    for (int j = k - 1; j >= 0; --j)
        info.codewords[dataCount + (k - 1 - j)] = static_cast<uint16_t>((kModulus - ecc[j]) % kModulus);
    info.codewordCount = static_cast<uint16_t>(dataCount + k);
    return 1;
}

void putBits(uint8_t* row, int& position, uint32_t bits, int count) {
    for (int i = count - 1; i >= 0; --i) {
        if ((bits >> i) & 1) row[position >> 3] |= static_cast<uint8_t>(0x80 >> (position & 7));
        ++position;
    }
}

int ORVOPDF417CodeWord2Pattern(ORVOPDF417InformationStruct& info) {
    const uint32_t* table = ORVOPDF417ClusterTable();
    const int rows = info.rows;
    const int columns = info.columns;
    const int level = info.eccLevel;
    // The earlier steps settle these; checked again because every index below depends on them.
    if (rows < 3 || rows > kMaxRows || columns < 1 || columns > kMaxColumns || level > 8) return 0;
    if (info.rowHeight < 1 || rows * columns > info.codewordCount ||
        info.codewordCount > ORVOPDF417MaxCodewords)
        return 0;
    for (int i = 0; i < rows * columns; ++i)
        if (info.codewords[i] >= kModulus) return 0;
    const int width = info.compact ? 17 * columns + 35 : 17 * columns + 69;
    const int height = rows * info.rowHeight;
    if (height > ORVOPDF417PatternRows || width > kMaxWidth) return 0;
    std::memset(info.pattern, 0, static_cast<size_t>(height) * ORVOPDF417PatternRowBytes);
    for (int r = 0; r < rows; ++r) {
        const int cluster = r % 3;
        const int base = 30 * (r / 3);
        int left, right;
        if (cluster == 0) {
            left = base + (rows - 1) / 3;
            right = base + columns - 1;
        } else if (cluster == 1) {
            left = base + level * 3 + (rows - 1) % 3;
            right = base + (rows - 1) / 3;
        } else {
            left = base + columns - 1;
            right = base + level * 3 + (rows - 1) % 3;
        }
        const uint32_t* patterns = table + cluster * kModulus;
        uint8_t* row = info.pattern[r * info.rowHeight];
        int position = 0;
        putBits(row, position, ORVOPDF417StartPattern, 17);
        putBits(row, position, patterns[left], 17);
        for (int c = 0; c < columns; ++c) putBits(row, position, patterns[info.codewords[r * columns + c]], 17);
        if (info.compact) {
            putBits(row, position, 1, 1);
        } else {
            putBits(row, position, patterns[right], 17);
            putBits(row, position, ORVOPDF417StopPattern, 18);
        }
        for (int k = 1; k < info.rowHeight; ++k)
            std::memcpy(info.pattern[r * info.rowHeight + k], row, ORVOPDF417PatternRowBytes);
    }
    info.patternHeight = static_cast<uint16_t>(height);
    info.patternWidth = static_cast<uint16_t>(width);
    return 1;
}

bool validSettings(const ORVOPDF417InformationStruct& info) {
    if (info.inputLength == 0 || info.inputLength > ORVOPDF417InputCapacity) return false;
    const int rows = info.requestedRows;
    const int columns = info.requestedColumns;
    if (rows != 0 && (rows < 3 || rows > kMaxRows)) return false;
    if (columns > kMaxColumns) return false;
    if (rows == 0 && columns < 1) return false;
    if (rows * columns > 928) return false;
    if (info.requestedEccLevel > 8) return false;
    if (info.rowHeight < 1 || info.rowHeight > 10) return false;
    return true;
}

int capacity(const ORVOPDF417InformationStruct& info) {
    int rows = info.requestedRows;
    int columns = info.requestedColumns;
    if (rows == 0) rows = 928 / columns;
    if (columns == 0) columns = 928 / rows;
    return rows * columns;
}

}  // namespace

void ORVOPDF417Initialize(ORVOPDF417InformationStruct* information) {
    if (information == nullptr) return;
    ORVOPDF417InformationStruct& info = *information;
    info.maxDataCodewords = 0;
    info.codewordCount = 0;
    info.patternHeight = 0;
    info.patternWidth = 0;
    info.inputLength = 0;
    info.requestedEccLevel = 1;
    info.eccLevel = 1;
    info.eccPercentage = 10;
    info.aspect = 50;
    info.requestedRows = 0;
    info.rows = 0;
    info.requestedColumns = 0;
    info.columns = 0;
    info.rowHeight = 3;
    info.sizeMode = 1;
    info.eccMode = 0;
    info.moduleWidth = 2;
    info.compact = 0;
}

int ORVOPDF417GenerateCodewords(ORVOPDF417InformationStruct* information) {
    if (information == nullptr) return 0;
    ORVOPDF417InformationStruct& info = *information;
    info.patternHeight = 0;
    info.patternWidth = 0;
    if (!validSettings(info)) return 0;
    const int total = capacity(info);
    const int ecc = eccCount(info.requestedEccLevel);
    if (ecc >= total - 1) return 0;
    int maxData = total - ecc;
    if (maxData > ORVOPDF417MaxCodewords) maxData = ORVOPDF417MaxCodewords;
    info.maxDataCodewords = static_cast<uint16_t>(maxData);
    ORVOPDF417InitializeCodeWord(info);
    if (!ORVOPDF417Buffer2CodeWord(info)) return 0;
    if (!ORVOPDF417CalculateEccLevel(info)) return 0;
    if (!ORVOPDF417CalculateRowColumn(info)) return 0;
    if (!ORVOPDF417FinalizeCodeWord(info)) return 0;
    if (!ORVOPDF417CalculateEcc(info)) return 0;
    return 1;
}

int ORVOPDF417Generate(ORVOPDF417InformationStruct* information) {
    if (!ORVOPDF417GenerateCodewords(information)) return 0;
    return ORVOPDF417CodeWord2Pattern(*information);
}
