#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"

namespace VelmarCommandParser {

// Text helpers of the compiler: prefix and ASCII tests, and decoders of escaped or Base64 text.
class StrUtil {
  public:
    using NameMap = std::map<std::string, std::string>;
    using CharacterMap = std::map<unsigned char, std::string>;

    static bool startsWith(const std::string& text, const std::string& prefix);
    static bool isAsciiString(const std::string& text);

    // Backslash-x-hex escapes become bytes, backslash-(name) becomes the name's text; bytes found
    // in the character map are replaced by their text. A backslash that starts no complete escape
    // is copied as it is. Always true.
    static bool decodeEscape(const std::string& text, PrinterCommandBuilder::ByteBuffer* buffer,
                             const NameMap* names, const CharacterMap* characters);
    // Backslash-x-hex escapes only; an incomplete or non-hex escape is dropped with the (up to)
    // two characters after the x.
    static bool decodeEscape(const std::string& text, PrinterCommandBuilder::ByteBuffer* buffer);

    // Appends count decoded bytes starting at decoded byte offset. Characters outside the Base64
    // alphabet (padding and line breaks included) are skipped. False when the text is shorter
    // than the start position.
    static bool decodeBase64(std::string_view text, std::size_t offset, std::size_t count,
                             PrinterCommandBuilder::ByteBuffer* buffer);
    // The whole text decoded, its length taken from the text and its trailing padding.
    static bool decodeBase64(std::string_view text, PrinterCommandBuilder::ByteBuffer* buffer);
    // The same, appended to a vector made room for once.
    static bool decodeBase64(std::string_view text, std::vector<std::uint8_t>& out);

    // Every occurrence of from replaced by to, resuming after each inserted to.
    static std::string repace(std::string text, const std::string& from, const std::string& to);
};

}  // namespace VelmarCommandParser
