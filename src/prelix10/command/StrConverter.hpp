#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "prelix10/command/Encode.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace VelmarCommandParser {

// The emulation code the text commands pass in; only EscPosMobile changes the output.
using VelmarCommandParserEmulation = int32_t;
inline constexpr VelmarCommandParserEmulation kEmulationCodePagePrinter = 0;
inline constexpr VelmarCommandParserEmulation kEmulationCodeUtf8 = 2;
inline constexpr VelmarCommandParserEmulation kEmulationCodeEscpos = 4;
inline constexpr VelmarCommandParserEmulation kEmulationCodeEscposMobile = 5;

// One converted character: the bytes to send and whether it takes one column or two.
struct CharStruct {
    std::array<uint8_t, 5> bytes{};
    uint64_t size = 0;
    bool isHalfWidth = true;
};

// Turns UTF-8 text into printer bytes, each character in the first encoding of a priority list that
// holds it. Stateless apart from constant tables.
class StrConverter {
  public:
    // The worker. Appends to out; returns false (keeping what was converted) when an encoding of the
    // list has no table.
    static bool fromUtf8(const std::string& text, std::span<const Encode> encodes,
                         std::vector<CharStruct>& out, VelmarCommandParserEmulation emulation,
                         PrinterCommandBuilder::Printer::AmbiguousCharacterWidthType ambiguousWidthType,
                         bool utf8Mode, bool forDisplay);
    static bool fromUtf8(const std::string& text, const std::vector<Encode>& encodes,
                         std::vector<CharStruct>& out, VelmarCommandParserEmulation emulation,
                         PrinterCommandBuilder::Printer::AmbiguousCharacterWidthType ambiguousWidthType,
                         bool utf8Mode, bool forDisplay) {
        return fromUtf8(text, std::span<const Encode>(encodes), out, emulation, ambiguousWidthType, utf8Mode,
                        forDisplay);
    }
    static bool fromUtf8toPrinter(const std::string& text, Encode encode, std::vector<CharStruct>& out,
                                  VelmarCommandParserEmulation emulation);
    // fromUtf8toPrinter with the characters' bytes appended straight to out, in the same order and
    // form.
    static bool fromUtf8toPrinterBytes(const std::string& text, Encode encode, std::vector<uint8_t>& out,
                                       VelmarCommandParserEmulation emulation);
    static bool fromUtf8toUtf8(
        const std::string& text, const std::vector<Encode>& encodes, std::vector<CharStruct>& out,
        VelmarCommandParserEmulation emulation,
        PrinterCommandBuilder::Printer::AmbiguousCharacterWidthType ambiguousWidthType);
    static bool fromUtf8toDisplay(const std::string& text, Encode encode, std::vector<CharStruct>& out);

    // Decodes the character at *position and advances past it. Anything but a well-formed one-, two-
    // or three-byte sequence (a stray or missing continuation byte, a four-byte lead, an overlong form,
    // a surrogate, a sequence cut off by the end) gives 0 and consumes one byte. raw receives the
    // consumed bytes (up to 4 of room) and rawSize their count, when given.
    static uint16_t toUcs2(const std::string& text, size_t* position, uint8_t* raw = nullptr,
                           size_t* rawSize = nullptr);
    // Bit assembly of a two- or three-byte sequence at position; 0 when the text is too short there.
    static uint16_t from2byteUtf8(const std::string& text, size_t position);
    static uint16_t from3byteUtf8(const std::string& text, size_t position);

    static CharStruct createUtf8CharStruct(bool isHalfWidth, const uint8_t* bytes, size_t size);

    // Page of the code-page table -> page number of the customer display / the mobile printers;
    // 0xFE when the device lacks the page, 0 for a page that is not listed.
    static uint8_t toDisplayParameterFromOrvo(uint8_t page);
    static uint8_t toEscposMobileParameterFromOrvo(uint8_t page);
};

}  // namespace VelmarCommandParser
