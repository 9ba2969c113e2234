#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace VelmarCommandParser {

// One code of the ambiguous-width list: bit 0 Simplified Chinese, bit 1 Japanese, bit 2 Traditional
// Chinese, bit 3 Korean.
struct AmbiguousWidthEntry {
    uint16_t code;
    uint8_t flags;
};

// Generated data (scripts/generate_encoding_tables.py). Each packed table is a series of runs:
// the first code of the run, the number of codes, then one entry per code.
extern const uint16_t ucs2ToShiftJisPacked[];
extern const size_t ucs2ToShiftJisPackedSize;
extern const uint16_t ucs2ToGb18030Packed[];
extern const size_t ucs2ToGb18030PackedSize;
extern const uint16_t ucs2ToBig5Packed[];
extern const size_t ucs2ToBig5PackedSize;
extern const uint16_t ucs2ToKoreanPacked[];
extern const size_t ucs2ToKoreanPackedSize;
extern const uint16_t ucs2ToCodePagePacked[];
extern const size_t ucs2ToCodePagePackedSize;
extern const AmbiguousWidthEntry ucs2ToAmbiguousEntries[];
extern const size_t ucs2ToAmbiguousEntryCount;

// A conversion table indexed by UCS-2 code. Entry 0: not held; 0x0001-0x00FF: that single byte;
// bit 15 set: two bytes, lead = high byte, trail = low byte; otherwise page = high byte, byte = low byte.
using Ucs2Table = std::array<uint16_t, 65536>;

// The tables, unpacked once on first use and shared by every conversion afterwards.
class EncodingTables {
  public:
    static const Ucs2Table& ucs2ToShiftJisTable();
    static const Ucs2Table& ucs2ToGb18030Table();
    static const Ucs2Table& ucs2ToBig5Table();
    static const Ucs2Table& ucs2ToKoreanTable();
    static const Ucs2Table& ucs2ToCodePageTable();
    // The flag byte of the ambiguous-width list, 0 for a code not in it.
    static uint8_t ambiguousFlags(uint16_t code);
};

}  // namespace VelmarCommandParser
