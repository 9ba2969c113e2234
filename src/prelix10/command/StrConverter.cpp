#include "prelix10/command/StrConverter.hpp"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "prelix10/command/EncodingTables.hpp"
#include "prelix10/command/UnicodeUtil.hpp"

namespace VelmarCommandParser {

using PrinterCommandBuilder::Printer::AmbiguousCharacterWidthType;

namespace {

constexpr uint8_t kMissingPage = 0xFE;

using PageRemap = std::array<uint8_t, 256>;

PageRemap makeRemap(std::initializer_list<std::pair<int, int>> pairs, std::initializer_list<int> missing) {
    PageRemap remap{};
    for (const auto& [page, target] : pairs) {
        remap[page] = static_cast<uint8_t>(target);
    }
    for (int page : missing) {
        remap[page] = kMissingPage;
    }
    return remap;
}

const PageRemap& displayRemap() {
    static const PageRemap remap =
        makeRemap({{0, 0},
                   {1, 0},
                   {2, 49},
                   {3, 0},
                   {4, 57},
                   {5, 56},
                   {6, 51},
                   {8, 52},
                   {9, 53},
                   {10, 55},
                   {32, 54},
                   {255, 0}},
                  {7,  11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 33, 34, 64,  65,  66,  67,  68,  69,
                   70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 96, 97, 98, 99, 100, 101, 102, 110, 111, 128});
    return remap;
}

const PageRemap& escposMobileRemap() {
    static const PageRemap remap =
        makeRemap({{0, 0},   {1, 0},   {2, 1},   {3, 0},   {4, 2},   {5, 6},   {6, 3},
                   {7, 7},   {8, 4},   {9, 5},   {10, 8},  {11, 9},  {12, 10}, {13, 11},
                   {14, 12}, {15, 13}, {19, 14}, {20, 15}, {21, 16}, {32, 17}, {255, 0}},
                  {16, 17, 18, 33, 34, 64, 65, 66, 67, 68,  69,  70,  71,  72,  73, 74,
                   75, 76, 77, 78, 79, 96, 97, 98, 99, 100, 101, 102, 110, 111, 128});
    return remap;
}

const Ucs2Table* tableOf(Encode encode) {
    switch (encode) {
        case Encode::TraditionalChinese:
            return &EncodingTables::ucs2ToBig5Table();
        case Encode::SimplifiedChinese:
            return &EncodingTables::ucs2ToGb18030Table();
        case Encode::Korean:
            return &EncodingTables::ucs2ToKoreanTable();
        case Encode::Japanese:
            return &EncodingTables::ucs2ToShiftJisTable();
        case Encode::CodePage:
            return &EncodingTables::ucs2ToCodePageTable();
    }
    return nullptr;
}

bool isContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

CharStruct StrConverter::createUtf8CharStruct(bool isHalfWidth, const uint8_t* bytes, size_t size) {
    CharStruct result;
    result.size = std::min<size_t>(size, result.bytes.size());
    std::copy(bytes, bytes + result.size, result.bytes.begin());
    result.isHalfWidth = isHalfWidth;
    return result;
}

uint8_t StrConverter::toDisplayParameterFromOrvo(uint8_t page) {
    return displayRemap()[page];
}

uint8_t StrConverter::toEscposMobileParameterFromOrvo(uint8_t page) {
    return escposMobileRemap()[page];
}

uint16_t StrConverter::from2byteUtf8(const std::string& text, size_t position) {
    if (position > text.size() || text.size() - position < 2) {
        return 0;
    }
    const auto b0 = static_cast<uint8_t>(text[position]);
    const auto b1 = static_cast<uint8_t>(text[position + 1]);
    return static_cast<uint16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
}

uint16_t StrConverter::from3byteUtf8(const std::string& text, size_t position) {
    if (position > text.size() || text.size() - position < 3) {
        return 0;
    }
    const auto b0 = static_cast<uint8_t>(text[position]);
    const auto b1 = static_cast<uint8_t>(text[position + 1]);
    const auto b2 = static_cast<uint8_t>(text[position + 2]);
    return static_cast<uint16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}

uint16_t StrConverter::toUcs2(const std::string& text, size_t* position, uint8_t* raw, size_t* rawSize) {
    const size_t at = *position;
    const size_t left = at < text.size() ? text.size() - at : 0;
    size_t consumed = 1;
    uint16_t code = 0;
    if (left == 0) {
        consumed = 0;
    } else {
        const auto b0 = static_cast<uint8_t>(text[at]);
        if (b0 < 0x80) {
            code = b0;
        } else if ((b0 & 0xE0) == 0xC0 && left >= 2 && isContinuation(static_cast<uint8_t>(text[at + 1]))) {
            code = from2byteUtf8(text, at);
            consumed = 2;
            if (code < 0x80) {
                code = 0;  // overlong
            }
        } else if ((b0 & 0xF0) == 0xE0 && left >= 3 && isContinuation(static_cast<uint8_t>(text[at + 1])) &&
                   isContinuation(static_cast<uint8_t>(text[at + 2]))) {
            code = from3byteUtf8(text, at);
            consumed = 3;
            if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) {
                code = 0;  // overlong or surrogate
            }
        }
    }
    if (raw != nullptr) {
        for (size_t i = 0; i < consumed; ++i) {
            raw[i] = static_cast<uint8_t>(text[at + i]);
        }
    }
    if (rawSize != nullptr) {
        *rawSize = consumed;
    }
    *position = at + consumed;
    return code;
}

bool StrConverter::fromUtf8(const std::string& text, std::span<const Encode> encodes,
                            std::vector<CharStruct>& out, VelmarCommandParserEmulation emulation,
                            AmbiguousCharacterWidthType ambiguousWidthType, bool utf8Mode, bool forDisplay) {
    const bool ambiguousHalfWidth = ambiguousWidthType == AmbiguousCharacterWidthType::Half;
    size_t position = 0;
    while (position < text.size()) {
        uint8_t raw[4] = {};
        size_t rawSize = 0;
        const uint16_t code = toUcs2(text, &position, raw, &rawSize);
        if (code == 0) {
            continue;
        }
        for (const Encode encode : encodes) {
            const Ucs2Table* table = tableOf(encode);
            if (table == nullptr) {
                return false;
            }
            const uint16_t value = (*table)[code];
            if (value == 0) {
                if (utf8Mode && encode == encodes.back()) {
                    out.push_back(createUtf8CharStruct(false, raw, rawSize));
                    break;
                }
                continue;
            }
            if (value <= 0xFF) {
                if (utf8Mode) {
                    out.push_back(createUtf8CharStruct(true, raw, rawSize));
                } else {
                    const auto byte = static_cast<uint8_t>(value);
                    out.push_back(createUtf8CharStruct(true, &byte, 1));
                }
                break;
            }
            const auto high = static_cast<uint8_t>(value >> 8);
            const auto low = static_cast<uint8_t>(value & 0xFF);
            if (value & 0x8000) {
                if (utf8Mode) {
                    const bool half = ambiguousHalfWidth && UnicodeUtil::isAmbiguousCharacter(code, encode);
                    out.push_back(createUtf8CharStruct(half, raw, rawSize));
                } else {
                    const uint8_t bytes[2] = {high, low};
                    out.push_back(createUtf8CharStruct(false, bytes, 2));
                }
                break;
            }
            if (forDisplay) {
                const uint8_t page = toDisplayParameterFromOrvo(high);
                if (page == kMissingPage) {
                    continue;
                }
                const uint8_t bytes[4] = {0x1B, 0x52, page, low};
                out.push_back(createUtf8CharStruct(true, bytes, 4));
            } else if (emulation == kEmulationCodeEscposMobile) {
                const uint8_t page = toEscposMobileParameterFromOrvo(high);
                if (page == kMissingPage) {
                    continue;
                }
                const uint8_t bytes[4] = {0x1B, 0x74, page, low};
                out.push_back(createUtf8CharStruct(true, bytes, 4));
            } else if (!utf8Mode) {
                const uint8_t bytes[5] = {0x1B, 0x1D, 0x74, high, low};
                out.push_back(createUtf8CharStruct(true, bytes, 5));
            } else {
                out.push_back(createUtf8CharStruct(true, raw, rawSize));
            }
            break;
        }
    }
    return true;
}

bool StrConverter::fromUtf8toPrinter(const std::string& text, Encode encode, std::vector<CharStruct>& out,
                                     VelmarCommandParserEmulation emulation) {
    return fromUtf8(text, std::span<const Encode>(&encode, 1), out, emulation,
                    AmbiguousCharacterWidthType::Half, false, false);
}

bool StrConverter::fromUtf8toPrinterBytes(const std::string& text, Encode encode, std::vector<uint8_t>& out,
                                          VelmarCommandParserEmulation emulation) {
    const Ucs2Table* table = nullptr;
    const std::size_t size = text.size();
    std::size_t position = 0;
    while (position < size) {
        const auto lead = static_cast<uint8_t>(text[position]);
        uint16_t code;
        if (lead < 0x80) {
            code = lead;
            ++position;
        } else {
            code = toUcs2(text, &position);
        }
        if (code == 0) continue;
        if (table == nullptr) {
            table = tableOf(encode);
            if (table == nullptr) return false;
        }
        const uint16_t value = (*table)[code];
        if (value == 0) continue;
        if (value <= 0xFF) {
            out.push_back(static_cast<uint8_t>(value));
            continue;
        }
        const auto high = static_cast<uint8_t>(value >> 8);
        const auto low = static_cast<uint8_t>(value & 0xFF);
        if (value & 0x8000) {
            out.insert(out.end(), {high, low});
        } else if (emulation == kEmulationCodeEscposMobile) {
            const uint8_t page = toEscposMobileParameterFromOrvo(high);
            if (page == kMissingPage) continue;
            out.insert(out.end(), {0x1B, 0x74, page, low});
        } else {
            out.insert(out.end(), {0x1B, 0x1D, 0x74, high, low});
        }
    }
    return true;
}

bool StrConverter::fromUtf8toUtf8(const std::string& text, const std::vector<Encode>& encodes,
                                  std::vector<CharStruct>& out, VelmarCommandParserEmulation emulation,
                                  AmbiguousCharacterWidthType ambiguousWidthType) {
    return fromUtf8(text, encodes, out, emulation, ambiguousWidthType, true, false);
}

bool StrConverter::fromUtf8toDisplay(const std::string& text, Encode encode, std::vector<CharStruct>& out) {
    return fromUtf8(text, std::span<const Encode>(&encode, 1), out, kEmulationCodeUtf8,
                    AmbiguousCharacterWidthType::Half, false, true);
}

}  // namespace VelmarCommandParser
