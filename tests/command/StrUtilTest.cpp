#include <gtest/gtest.h>

#include "TestHex.hpp"
#include "prelix10/command/StrUtil.hpp"

using PrinterCommandBuilder::ByteBuffer;
using TestHex::hex;
using VelmarCommandParser::StrUtil;

namespace {
std::string escaped(const std::string& text, const StrUtil::NameMap* names = nullptr,
                    const StrUtil::CharacterMap* characters = nullptr) {
    ByteBuffer buffer;
    EXPECT_TRUE(StrUtil::decodeEscape(text, &buffer, names, characters));
    return hex(buffer);
}
std::string plainEscaped(const std::string& text) {
    ByteBuffer buffer;
    StrUtil::decodeEscape(text, &buffer);
    return hex(buffer);
}
std::string base64(const std::string& text) {
    ByteBuffer buffer;
    StrUtil::decodeBase64(text, &buffer);
    return hex(buffer);
}
}  // namespace

TEST(StrUtil, PrefixAndAscii) {
    EXPECT_TRUE(StrUtil::startsWith("1.0.0", "1."));
    EXPECT_FALSE(StrUtil::startsWith("1", "1."));
    EXPECT_TRUE(StrUtil::startsWith("", ""));
    EXPECT_TRUE(StrUtil::isAsciiString(""));
    EXPECT_TRUE(StrUtil::isAsciiString("abc\x7f"));
    EXPECT_FALSE(StrUtil::isAsciiString("caf\xc3\xa9"));
}

TEST(StrUtil, DecodeEscapeWithMaps) {
    const StrUtil::NameMap names = {{"FNC1", "%1"}};
    const StrUtil::CharacterMap characters = {{0x00, "%@"}, {'%', "%0"}};
    EXPECT_EQ(escaped("\\x1B@"), "1B 40");
    EXPECT_EQ(escaped("a\\x1"), "61 5C 78 31");
    EXPECT_EQ(escaped("\\(NOPE)A", &names), "41");
    EXPECT_EQ(escaped("\\(FNC1)A", &names), "25 31 41");
    EXPECT_EQ(escaped("\\(FNC1", &names), "5C 28 46 4E 43 31");
    EXPECT_EQ(escaped("%\\x00", nullptr, &characters), "25 30 25 40");
    EXPECT_EQ(escaped("\\q"), "5C 71");
    EXPECT_EQ(escaped(""), "");
    // Replacements longer than the staging block arrive whole and in order.
    const std::string longText(300, 'z');
    const StrUtil::NameMap longNames = {{"L", longText}};
    ByteBuffer buffer;
    StrUtil::decodeEscape("a\\(L)b", &buffer, &longNames, nullptr);
    EXPECT_EQ(buffer.getDataSize(), 302u);
    EXPECT_EQ(hex(buffer).substr(0, 5), "61 7A");
}

TEST(StrUtil, DecodeEscapePlain) {
    EXPECT_EQ(plainEscaped("\\x41\\x4"), "41");
    EXPECT_EQ(plainEscaped("\\xZZab"), "61 62");
    EXPECT_EQ(plainEscaped("a\\b"), "61 5C 62");
}

TEST(StrUtil, DecodeBase64) {
    EXPECT_EQ(base64("G0A="), "1B 40");
    EXPECT_EQ(base64("SGVs\nbG8="), "48 65 6C 6C 6F");
    EXPECT_EQ(base64(""), "");
    ByteBuffer buffer;
    // "Hello" from decoded byte 1, three bytes.
    EXPECT_TRUE(StrUtil::decodeBase64("SGVsbG8=", 1, 3, &buffer));
    EXPECT_EQ(hex(buffer), "65 6C 6C");
    ByteBuffer none;
    EXPECT_FALSE(StrUtil::decodeBase64("SGVs", 100, 1, &none));
    EXPECT_EQ(none.getDataSize(), 0u);
}

TEST(StrUtil, Repace) {
    EXPECT_EQ(StrUtil::repace("a\"b\"", "\"", "\\\""), "a\\\"b\\\"");
    EXPECT_EQ(StrUtil::repace("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(StrUtil::repace("abc", "x", "y"), "abc");
}
