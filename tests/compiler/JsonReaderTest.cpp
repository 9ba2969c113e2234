#include <gtest/gtest.h>

#include <string>

#include "prelix10/compiler/JsonReader.hpp"

using nlohmann::json;
using VelmarCommandParser::JsonReader;

namespace {

// Equal values of equal types all the way down: 1, 1u and 1.0 are three different readings.
bool sameTree(const json& a, const json& b) {
    if (a.type() != b.type()) return false;
    if (a.is_object() || a.is_array()) {
        if (a.size() != b.size()) return false;
        for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
            if (a.is_object() && i.key() != j.key()) return false;
            if (!sameTree(*i, *j)) return false;
        }
        return true;
    }
    return a == b;
}

}  // namespace

// The reader stands in for nlohmann::json::parse on the compile path, so the library is the oracle:
// the same texts accepted, the same values and number types read.
TEST(JsonReader, AcceptsAndReadsWhatTheLibraryParserDoes) {
    const std::string cases[] = {
        // structure and literals
        R"({"a":[1,{"b":null}],"c":true,"d":false})",
        " \t\r\n[ ] ",
        "{}",
        "[[[]]]",
        "null",
        "\"x\"",
        R"({"a":1,"a":{"b":2}})",
        R"({"z":1,"a":2,"m":3})",
        "[1,]",
        "[,1]",
        "{\"a\":1,}",
        "{,}",
        "{\"a\" 1}",
        "{1:2}",
        "[1 2]",
        "[",
        "]",
        "{\"a\":1",
        "",
        "   ",
        "tru",
        "truex",
        "nul",
        "[true false]",
        "{}{}",
        "{} x",
        std::string("\0{}", 3),
        std::string("{}\0garbage", 10),
        std::string("[1\0]", 4),
        "// c\n{}",
        "[1]/**/",
        // byte-order mark
        "\xEF\xBB\xBF{}",
        "\xEF\xBB{}",
        "\xEF{}",
        " \xEF\xBB\xBF{}",
        // numbers
        "0",
        "-0",
        "01",
        "-",
        "-a",
        "1.",
        ".5",
        "1.5",
        "1e5",
        "1E+5",
        "1e-5",
        "1e",
        "1e+",
        "+1",
        "0x10",
        "18446744073709551615",
        "18446744073709551616",
        "-9223372036854775808",
        "-9223372036854775809",
        "1e308",
        "1e309",
        "-1e309",
        "1e-400",
        "4.9e-324",
        "123456789012345678901234567890",
        "[-]",
        "[0.1e2]",
        "1.7976931348623157e308",
        "0.1",
        "2.2250738585072011e-308",
        std::string(400, '9'),
        // strings, escapes and surrogates
        R"("\"\\\/\b\f\n\r\t")",
        R"("\x")",
        R"("\u00e9\u20AC")",
        R"("\u0000")",
        R"("\ud83d\ude00")",
        R"("\ud83d")",
        R"("\ud83dx")",
        R"("\ud83d\u0041")",
        R"("\ude00")",
        R"("\u12")",
        R"("\u12G4")",
        "\"tab\there\"",
        "\"line\nbreak\"",
        "\"\x7f\"",
        "\"open",
        "\"\\",
        R"({"k\u0041":1})",
        // UTF-8: well formed, overlong, surrogate, beyond U+10FFFF, cut short
        "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"",
        "\"\xC0\xAF\"",
        "\"\xC1\xBF\"",
        "\"\xE0\x80\xAF\"",
        "\"\xE0\xA0\x80\"",
        "\"\xED\xA0\x80\"",
        "\"\xED\x9F\xBF\"",
        "\"\xF0\x8F\xBF\xBF\"",
        "\"\xF4\x90\x80\x80\"",
        "\"\xF4\x8F\xBF\xBF\"",
        "\"\xF5\x80\x80\x80\"",
        "\"\x80\"",
        "\"\xC3\"",
        "\"\xE2\x82\"",
        "\xC3\xA9",
        "\"\xC3\xA9",
        "\"\xEF\xBF\xBF\"",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(json(text).dump(-1, ' ', true, json::error_handler_t::replace));
        json expected;
        bool valid = true;
        try {
            expected = json::parse(text);
        } catch (const json::exception&) {
            valid = false;
        }
        json read;
        ASSERT_EQ(JsonReader::read(text, read), valid);
        if (valid) {
            EXPECT_TRUE(sameTree(read, expected)) << read.dump();
        }
    }
}

TEST(JsonReader, NestsWithoutRecursionAndKeepsLaterValues) {
    // Far deeper than a call stack of recursive descent would stand on a small thread stack.
    const std::size_t depth = 200000;
    const std::string deep = std::string(depth, '[') + std::string(depth, ']');
    json read;
    ASSERT_TRUE(JsonReader::read(deep, read));
    EXPECT_FALSE(JsonReader::read(std::string(depth, '[') + std::string(depth - 1, ']'), read));

    // A value read into a slot that held one before replaces it whole.
    json reused = json::parse(R"({"old":[1,2,3]})");
    ASSERT_TRUE(JsonReader::read(R"({"a":{"x":1},"a":[true]})", reused));
    EXPECT_EQ(reused, json::parse(R"({"a":[true]})"));
}
