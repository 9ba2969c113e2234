#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prelix10/compiler/FieldData.hpp"
#include "prelix10/compiler/TemplatePrintException.hpp"
#include "prelix10/compiler/TemplatePrintUtil.hpp"

using TemplatePrint::FieldData;
using TemplatePrint::OrderedJson;
using TemplatePrint::TemplatePrintException;
using TemplatePrint::TemplatePrintUtil;

namespace {

// The content of a text method after replacement, with the given element index.
std::string fill(const std::string& fieldData, const std::string& content, std::int64_t element = -1) {
    OrderedJson method = {{"method", "Action.Print.Text"}, {"parameter", {{"content", content}}}};
    return FieldData(fieldData).replace(method, element)["parameter"]["content"].get<std::string>();
}

int messageIdOf(auto&& call) {
    try {
        call();
    } catch (const TemplatePrintException& error) {
        EXPECT_EQ(error.getErrorTypeId(), 1);
        EXPECT_EQ(error.getErrorCode(), 7000);
        return error.getErrorMessageId();
    }
    return -1;
}

}  // namespace

TEST(FieldDataNumberFormat, AcceptedFormats) {
    struct Case {
        double value;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {12.5, ".2f", "12.50"},
        {12.5, "", "12"},
        {12.5, "d", "12"},
        {12.5, "5.1lf", " 12.5"},
        {-2.9, "d", "-2"},
        {255, "x", "ff"},
        {255, "#X", "0XFF"},
        {-1, "x", "ffffffff"},
        {7, "03d", "007"},
        {7, "-3d", "7  "},
        {3, "+d", "+3"},
        {42, " d", " 42"},
        {12.5, "u", "12"},
        // Receipt amounts keep the double's precision: no rounding through single precision.
        {1234567.89, ".2f", "1234567.89"},
        {0.1, ".10f", "0.1000000000"},
        {0.1, ".10lf", "0.1000000000"},
        {5e9, "ld", "5000000000"},
        {-5e9, "ld", "-5000000000"},
        {5e9, "lu", "5000000000"},
        {4294967295.0, "lx", "ffffffff"},
        {4294967295.0, "lX", "FFFFFFFF"},
        // Out-of-range values saturate.
        {1e12, "d", "2147483647"},
        {-1e12, "d", "-2147483648"},
        {-5, "u", "0"},
        {1e12, "u", "4294967295"},
        {1e30, "ld", "9223372036854775807"},
        {-1e30, "ld", "-9223372036854775808"},
        {1e30, "lu", "18446744073709551615"},
        {-1e30, "lu", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldData::numberToString(c.value, c.format), c.expected) << c.value << " %" << c.format;
    }
    // The result is bounded by the formatter's buffer.
    EXPECT_EQ(FieldData::numberToString(1, "1023d").size(), 1023u);
    EXPECT_EQ(FieldData::numberToString(1e300, ".1000f").size(), 1023u);
}

TEST(FieldDataNumberFormat, AnythingButOneConversionIsRefused) {
    const char* formats[] = {
        "q",   "e",  "g",   "s",  "hd",  ".f", "%d",  "d%d",   "d d",          "d %d",   "5-d",  "abc5d", "n",
        "5.2", "ll", "lld", "dd", "2$d", "*d", ".*f", "1024d", "99999999999d", ".1024f", "d\\%", "-",     "l",
        "ls",  "Lf", "zu",  "jd", "c",   "p",  "a",   "i"};
    for (const char* format : formats) {
        EXPECT_EQ(messageIdOf([&] { FieldData::numberToString(1, format); }), 7001) << format;
    }
}

TEST(FieldDataReplace, Specifiers) {
    const std::string data =
        R"({"price":12.5,"flag":true,"name":"A}B","obj":{"b":"inner"},"a.b":{"c":{"d":"deep"}},
        "a%b":3,"xy":"joined","x;y":"semi","ab":"flat","arr":[1,2],"nil":null,"items":[{"name":"first"},{"name":"second"}],
        "t~/":"tilde"})";
    struct Case {
        const char* content;
        const char* expected;
    };
    const Case cases[] = {
        {"${price%.2f}", "12.50"},
        {"${price}", "12"},
        {"${price%d}", "12"},
        {"${price%5.1lf}", " 12.5"},
        {"${flag%d}", "true"},
        {"${flag}", "true"},
        {"[${missing}]", "[]"},
        {"[${obj}]", "[]"},
        {"[${arr}]", "[]"},
        {"[${nil}]", "[]"},
        {"${name}${name}", "A}BA}B"},
        {"${;price}", "${price}"},
        {"${;", "${"},
        {"${a\\.b.c.d}", "deep"},
        {"${obj.b}", "inner"},
        {"${a\\%b%d}", "3"},
        {"${x;y}", "joined"},
        {"${x\\;y}", "semi"},
        {"${obj/b}", "inner"},
        {"${t~0~1}", "tilde"},
        {"${items/1/name}", "second"},
        {"${items.name}", ""},
        {"open ${price", "open ${price"},
        {"${pri\\}ce}", ""},
        {"Total: ${price%.2f} EUR", "Total: 12.50 EUR"},
        {"$", "$"},
        {"", ""},
        {"${items/99999999999999999999999/name}", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(fill(data, c.content), c.expected) << c.content;
}

TEST(FieldDataReplace, ArrayElementSelectsTheRow) {
    const std::string data =
        R"({"items":[{"name":"first"},{"name":"second"}],"shop":"S","nested":[[1],[2]]})";
    EXPECT_EQ(fill(data, "${items.name}/${shop}", 1), "second/S");
    EXPECT_EQ(fill(data, "${items.name}", 0), "first");
    EXPECT_EQ(fill(data, "[${items.name}]", 2), "[]");
    // Only one array level per key.
    EXPECT_EQ(fill(data, "[${nested}]", 0), "[]");
}

TEST(FieldDataReplace, KeepsOtherKeysInOrder) {
    OrderedJson method = OrderedJson::parse(
        R"({"method":"Action.Print.Text","parameter":{"z":1,"content":"${v}","a":2},"extra":true})");
    OrderedJson replaced = FieldData(R"({"v":"x"})").replace(method, -1);
    EXPECT_EQ(replaced.dump(),
              R"({"method":"Action.Print.Text","parameter":{"z":1,"content":"x","a":2},"extra":true})");
}

TEST(FieldDataReplace, BadFormatFailsEvenForMissingOrBooleanKeys) {
    EXPECT_EQ(messageIdOf([] { fill(R"({})", "${missing%q}"); }), 7001);
    EXPECT_EQ(messageIdOf([] { fill(R"({"flag":true})", "${flag%q}"); }), 7001);
}

TEST(FieldDataReplace, ContentMustBeText) {
    OrderedJson method = {{"method", "Action.Print.Text"}, {"parameter", {{"content", 5}}}};
    EXPECT_THROW(FieldData("{}").replace(method, -1), nlohmann::json::exception);
    OrderedJson none = {{"method", "Action.Print.Text"}, {"parameter", OrderedJson::object()}};
    EXPECT_THROW(FieldData("{}").replace(none, -1), nlohmann::json::exception);
}

TEST(FieldDataPointer, ArraysAndErrors) {
    FieldData data(R"({"items":[{"name":"a"},{"name":"b"},{"name":"c"}],"empty":[],"o":{"k":1}})");
    bool error = false;
    auto info = data.createJsonPointer("items.name", 2, error);
    EXPECT_FALSE(error);
    EXPECT_TRUE(info.isArray());
    EXPECT_EQ(info.getKeyPointer().to_string(), "/items/2/name");
    EXPECT_EQ(info.getArrayKeyPointer().to_string(), "/items");
    EXPECT_EQ(info.getArraySize(), 3u);

    info = data.createJsonPointer("items.name", -1, error);
    EXPECT_TRUE(error);
    info = data.createJsonPointer("empty.name", 0, error);
    EXPECT_TRUE(error);
    EXPECT_TRUE(info.isArray());
    info = data.createJsonPointer("o.k", -1, error);
    EXPECT_FALSE(error);
    EXPECT_FALSE(info.isArray());
    EXPECT_EQ(info.getArraySize(), UINT64_MAX);
    // A "~" that escapes nothing in the first segment is a JSON error.
    EXPECT_THROW(data.createJsonPointer("bad~x", -1, error), nlohmann::json::exception);
}

TEST(FieldDataDocument, RecognisesCommandDocuments) {
    EXPECT_TRUE(FieldData(R"({"title":"VelmarCommand","version":7,"contents":null})").isVelmarCommand());
    EXPECT_FALSE(FieldData(R"({"title":"VelmarCommand","version":"1.0"})").isVelmarCommand());
    EXPECT_FALSE(FieldData(R"({"title":"Other","version":"1.0","contents":[]})").isVelmarCommand());
    EXPECT_FALSE(FieldData(R"([{"title":"VelmarCommand"}])").isVelmarCommand());
    try {
        FieldData("{");
        ADD_FAILURE() << "no parse error";
    } catch (const nlohmann::json::parse_error& error) {
        EXPECT_EQ(error.id, 101);
    }
}

TEST(TemplatePrintUtilSpecifiers, ExtractSplitAndKeys) {
    EXPECT_EQ(TemplatePrintUtil::extractReplacingSpecifier("a ${x%d} ${;y} ${p\\}q;r\\;s} ${open"),
              (std::vector<std::string>{"x%d", "p}qr;s"}));
    EXPECT_EQ(messageIdOf([] { TemplatePrintUtil::extractReplacingSpecifier("${caf\xC3\xA9}"); }), 7003);
    // Non-ASCII text outside specifiers is fine.
    EXPECT_NO_THROW(TemplatePrintUtil::extractReplacingSpecifier("caf\xC3\xA9 ${x}"));
    EXPECT_EQ(TemplatePrintUtil::split("a.b\\.c.d", ".", -1), (std::vector<std::string>{"a", "b\\.c", "d"}));
    EXPECT_EQ(TemplatePrintUtil::split("k%d%x", "%", 1), (std::vector<std::string>{"k", "d%x"}));
    EXPECT_EQ(TemplatePrintUtil::split("", ".", -1), (std::vector<std::string>{""}));
    EXPECT_EQ(TemplatePrintUtil::getReplacingSpecifierPair("a\\%b%5d"),
              (std::pair<std::string, std::string>{"a\\%b", "5d"}));
    EXPECT_EQ(TemplatePrintUtil::extractKeySpecifierList({"items.name%d", "shop"}),
              (std::vector<std::string>{"items.name", "shop"}));
}
