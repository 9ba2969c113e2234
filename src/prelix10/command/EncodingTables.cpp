#include "prelix10/command/EncodingTables.hpp"

#include <memory>

namespace VelmarCommandParser {
namespace {

std::unique_ptr<Ucs2Table> unpack(const uint16_t* packed, size_t size) {
    auto table = std::make_unique<Ucs2Table>();
    table->fill(0);
    size_t position = 0;
    while (position + 2 <= size) {
        const size_t first = packed[position];
        const size_t count = packed[position + 1];
        position += 2;
        if (count > size - position || first + count > table->size()) {
            break;
        }
        for (size_t i = 0; i < count; ++i) {
            (*table)[first + i] = packed[position + i];
        }
        position += count;
    }
    return table;
}

}  // namespace

const Ucs2Table& EncodingTables::ucs2ToShiftJisTable() {
    static const std::unique_ptr<Ucs2Table> table = unpack(ucs2ToShiftJisPacked, ucs2ToShiftJisPackedSize);
    return *table;
}

const Ucs2Table& EncodingTables::ucs2ToGb18030Table() {
    static const std::unique_ptr<Ucs2Table> table = unpack(ucs2ToGb18030Packed, ucs2ToGb18030PackedSize);
    return *table;
}

const Ucs2Table& EncodingTables::ucs2ToBig5Table() {
    static const std::unique_ptr<Ucs2Table> table = unpack(ucs2ToBig5Packed, ucs2ToBig5PackedSize);
    return *table;
}

const Ucs2Table& EncodingTables::ucs2ToKoreanTable() {
    static const std::unique_ptr<Ucs2Table> table = unpack(ucs2ToKoreanPacked, ucs2ToKoreanPackedSize);
    return *table;
}

const Ucs2Table& EncodingTables::ucs2ToCodePageTable() {
    static const std::unique_ptr<Ucs2Table> table = unpack(ucs2ToCodePagePacked, ucs2ToCodePagePackedSize);
    return *table;
}

uint8_t EncodingTables::ambiguousFlags(uint16_t code) {
    static const std::unique_ptr<std::array<uint8_t, 65536>> flags = [] {
        auto result = std::make_unique<std::array<uint8_t, 65536>>();
        result->fill(0);
        for (size_t i = 0; i < ucs2ToAmbiguousEntryCount; ++i) {
            (*result)[ucs2ToAmbiguousEntries[i].code] = ucs2ToAmbiguousEntries[i].flags;
        }
        return result;
    }();
    return (*flags)[code];
}

}  // namespace VelmarCommandParser
