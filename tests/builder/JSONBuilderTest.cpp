#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

#include "builder/TestJson.hpp"
#include "prelix10/core/JSONBuilder.hpp"

using namespace Prelix10;

namespace {

JsonObjectRef methodItem(const std::string& name, JsonObjectRef parameter) {
    return JsonObject::make({{"method", name}, {"parameter", std::move(parameter)}});
}

}  // namespace

TEST(JSONBuilderTest, DocumentLayoutIsTabIndentedOneValuePerLine) {
    JsonObjectRef drawer = JsonObject::make(
        {{"category", "Drawer"},
         {"contents",
          JsonList{methodItem("Action.Open", JsonObject::make({{"channel", "No.1"}, {"on_time", 200}}))}}});
    JsonObjectRef document = JsonObject::make({{"category", "Document"}, {"contents", JsonList{drawer}}});
    JsonObjectRef root = JsonObject::make(
        {{"title", "VelmarCommand"}, {"version", "1.0.0"}, {"contents", JsonList{document}}});

    const std::string expected =
        "{\n"
        "\t\"title\": \"VelmarCommand\",\n"
        "\t\"version\": \"1.0.0\",\n"
        "\t\"contents\": [\n"
        "\t\t{\n"
        "\t\t\t\"category\": \"Document\",\n"
        "\t\t\t\"contents\": [\n"
        "\t\t\t\t{\n"
        "\t\t\t\t\t\"category\": \"Drawer\",\n"
        "\t\t\t\t\t\"contents\": [\n"
        "\t\t\t\t\t\t{\n"
        "\t\t\t\t\t\t\t\"method\": \"Action.Open\",\n"
        "\t\t\t\t\t\t\t\"parameter\": {\n"
        "\t\t\t\t\t\t\t\t\"channel\": \"No.1\",\n"
        "\t\t\t\t\t\t\t\t\"on_time\": 200\n"
        "\t\t\t\t\t\t\t}\n"
        "\t\t\t\t\t\t}\n"
        "\t\t\t\t\t]\n"
        "\t\t\t\t}\n"
        "\t\t\t]\n"
        "\t\t}\n"
        "\t]\n"
        "}";
    const JSONBuilder builder("\n", "\t");
    EXPECT_EQ(builder.build(root, 0), expected);
    // Writing leaves the tree as it was.
    EXPECT_EQ(builder.build(root, 0), expected);
    EXPECT_TRUE(Testing::isValidJson(expected));
}

TEST(JSONBuilderTest, EmptyContainersAndDepth) {
    const JSONBuilder builder;
    EXPECT_EQ(builder.build(JsonList{}, 2), "[\n\t\t]");
    EXPECT_EQ(builder.build(JsonObject::make(), 1), "{\n\t}");
    // A nested list of lists keeps the outer indentation on every line of the inner one.
    JsonList nested{JsonList{1, 2}, "x"};
    EXPECT_EQ(builder.build(nested, 1), "[\n\t\t[\n\t\t\t1,\n\t\t\t2\n\t\t],\n\t\t\"x\"\n\t]");
    // Other line-break and indentation texts.
    const JSONBuilder crlf("\r\n", "  ");
    EXPECT_EQ(crlf.build(JsonObject::make({{"a", JsonList{true}}}), 0),
              "{\r\n  \"a\": [\r\n    true\r\n  ]\r\n}");
}

TEST(JSONBuilderTest, Scalars) {
    const JSONBuilder builder;
    struct Case {
        JsonValue value;
        const char* text;
    } cases[] = {
        {10, "10"},
        {-7, "-7"},
        {std::int64_t{9007199254740993}, "9007199254740993"},
        {10.0, "10.0"},
        {0.25, "0.25"},
        {1.5, "1.5"},
        {0.1, "0.1"},
        {0.1f, "0.1"},
        {-2.0f, "-2.0"},
        {1e300, "1e+300"},
        {true, "true"},
        {false, "false"},
        {"plain", "\"plain\""},
    };
    for (const auto& c : cases) EXPECT_EQ(builder.build(c.value, 0), c.text);
    EXPECT_EQ(builder.build(JsonValue{}, 0), "");
}

TEST(JSONBuilderTest, StringsAreAlwaysValidJson) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"a\"b", "a\\\"b"},
        {"back\\n", "back\\\\n"},
        {"tab\tnl\ncr\r", "tab\\tnl\\ncr\\r"},
        {std::string("esc\x1b"
                     "bel\x07"
                     "nul",
                     11) +
             std::string(1, '\0'),
         "esc\\u001bbel\\u0007nul\\u0000"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 /", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 /"},
        {"bad\xFF"
         "x",
         "bad\xEF\xBF\xBDx"},
        {"trunc\xE2\x82", "trunc\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"overlong\xC0\x8A", "overlong\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"surrogate\xED\xA0\x80", "surrogate\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    const JSONBuilder builder;
    for (const auto& c : cases) {
        EXPECT_EQ(JSONBuilder::escaped(c.in), c.out) << c.in;
        const std::string doc = builder.build(JsonObject::make({{"k", c.in}}), 0);
        EXPECT_TRUE(Testing::isValidJson(doc)) << doc;
    }
}

TEST(JSONBuilderTest, ValuesWithoutTextAreLeftOut) {
    const JSONBuilder builder;
    JsonObjectRef object = JsonObject::make({{"a", 1},
                                             {"nan", std::nan("")},
                                             {"inf", std::numeric_limits<float>::infinity()},
                                             {"none", JsonObjectRef{}},
                                             {"b", JsonList{std::numeric_limits<double>::infinity(), 2}}});
    EXPECT_EQ(builder.build(object, 0), "{\n\t\"a\": 1,\n\t\"b\": [\n\t\t2\n\t]\n}");
    EXPECT_EQ(JSONBuilder::formatNumber(std::nan("")), "");
}

TEST(JSONBuilderTest, CyclicObjectIsNotRecursedInto) {
    JsonObjectRef object = JsonObject::make({{"name", "loop"}});
    object->set("self", object);
    object->set("list", JsonList{object, 3});
    const JSONBuilder builder;
    EXPECT_EQ(builder.build(object, 0), "{\n\t\"name\": \"loop\",\n\t\"list\": [\n\t\t3\n\t]\n}");
    object->remove("self");
    object->remove("list");  // break the cycle so the test does not leak
    // The same object twice without a cycle is written twice.
    JsonObjectRef leaf = JsonObject::make({{"v", 1}});
    EXPECT_EQ(builder.build(JsonList{leaf, leaf}, 0),
              "[\n\t{\n\t\t\"v\": 1\n\t},\n\t{\n\t\t\"v\": 1\n\t}\n]");
}

TEST(JSONBuilderTest, ObjectSetKeepsPositionRemovesAndAppends) {
    JsonObject object{{"a", 1}, {"b", 5}, {"c", 3}};
    object.set("b", 2);
    ASSERT_EQ(object.size(), 3u);
    EXPECT_EQ(object.pairs()[1].first, "b");
    EXPECT_EQ(*object.get("b")->integer(), 2);
    object.set("b", JsonValue{});
    ASSERT_EQ(object.size(), 2u);
    EXPECT_EQ(object.pairs()[1].first, "c");
    object.set("d", 4);
    EXPECT_EQ(object.pairs().back().first, "d");
    object.set("zz", JsonValue{});
    EXPECT_EQ(object.size(), 3u);
    EXPECT_EQ(object.get("zz"), nullptr);
}

TEST(JSONBuilderTest, OrderedPairsOfStrings) {
    // The shape the connection-identifier store writes: an ordered list of string pairs at depth 0.
    struct KeyValue {
        std::string key;
        std::string value;
    };
    const std::vector<KeyValue> members{{"macAddress", "00:11:62:AA:BB:CC"},
                                        {"specifiedIdentifier", "my \"shop\"\\1"}};
    const JSONBuilder builder;
    EXPECT_EQ(builder.build(members, 0),
              "{\n\t\"macAddress\": \"00:11:62:AA:BB:CC\",\n\t\"specifiedIdentifier\": \"my "
              "\\\"shop\\\"\\\\1\"\n}");
    const std::vector<std::pair<std::string, std::string>> pairs{{"b", "2"}, {"a", "1"}};
    EXPECT_EQ(builder.build(pairs, 1), "{\n\t\t\"b\": \"2\",\n\t\t\"a\": \"1\"\n\t}");
    EXPECT_EQ(builder.build(std::vector<KeyValue>{}, 0), "{\n}");
}
