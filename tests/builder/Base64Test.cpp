#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "prelix10/builder/Base64.hpp"
#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/StrUtil.hpp"

using Prelix10::VelmarCommand::base64Encode;

namespace {

std::string encoded(const std::string& text) {
    return base64Encode(std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace

TEST(Base64, EncodesTheStandardVectorsWithTheirPadding) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xFB\xFF\xBF", "+/+/"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(encoded(text), expected) << text;
}

// Every byte value in every position of the group, and every tail length, decodes back as it was.
TEST(Base64, RoundTripsThroughTheCompilersDecoder) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 256 * 3 + 2; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7 + i / 256));
    for (std::size_t length : {bytes.size(), bytes.size() - 1, bytes.size() - 2, std::size_t{1}}) {
        const std::vector<std::uint8_t> input(bytes.begin(), bytes.begin() + std::ptrdiff_t(length));
        const std::string text = base64Encode(input);
        ASSERT_EQ(text.size(), (length + 2) / 3 * 4);
        PrinterCommandBuilder::ByteBuffer decoded;
        VelmarCommandParser::StrUtil::decodeBase64(text, &decoded);
        EXPECT_EQ(decoded.toVector(), input) << length;
        // The vector destination appends to what it holds.
        std::vector<std::uint8_t> appended{0xAA};
        VelmarCommandParser::StrUtil::decodeBase64(text, appended);
        ASSERT_FALSE(appended.empty());
        EXPECT_EQ(appended.front(), 0xAA);
        EXPECT_EQ(std::vector<std::uint8_t>(appended.begin() + 1, appended.end()), input) << length;
    }
}
