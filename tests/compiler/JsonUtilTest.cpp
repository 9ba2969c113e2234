#include <gtest/gtest.h>

#include "prelix10/compiler/JsonUtil.hpp"

using nlohmann::json;
using VelmarCommandParser::JsonUtil;
using Tree = VelmarCommandParser::DocumentTree;

TEST(JsonUtil, GettersCheckPresenceAndType) {
    const Tree p =
        Tree::parse(R"({"i":2.9,"n":-2.9,"s":"2","b":true,"z":null,"big":1e12,"u":18446744073709551615,
                                  "a":[1,2.5,"x",4],"e":["Korean","Japanese"],"bad":["Korean",3]})");
    bool flag = false;
    EXPECT_EQ(JsonUtil::getInt(&p, "i", flag), 2);
    EXPECT_EQ(JsonUtil::getInt(&p, "n", flag), -2);
    EXPECT_EQ(JsonUtil::getInt(&p, "big", flag), 2147483647);
    EXPECT_EQ(JsonUtil::getInt(&p, "u", flag), 2147483647);
    EXPECT_TRUE(JsonUtil::getBoolean(&p, "b", flag));
    EXPECT_DOUBLE_EQ(JsonUtil::getDouble(&p, "i", flag), 2.9);
    EXPECT_EQ(JsonUtil::getString(&p, "s", flag), "2");
    EXPECT_FALSE(flag);

    struct Case {
        const char* name;
        std::function<void(bool&)> read;
    } failing[] = {
        {"int of text", [&](bool& f) { EXPECT_EQ(JsonUtil::getInt(&p, "s", f), 0); }},
        {"string of null", [&](bool& f) { EXPECT_EQ(JsonUtil::getString(&p, "z", f), ""); }},
        {"missing bool", [&](bool& f) { EXPECT_FALSE(JsonUtil::getBoolean(&p, "nope", f)); }},
        {"double of bool", [&](bool& f) { EXPECT_EQ(JsonUtil::getDouble(&p, "b", f), 0.0); }},
        {"not an object",
         [&](bool& f) {
             const Tree array = Tree::array();
             JsonUtil::getInt(&array, "i", f);
         }},
    };
    for (const auto& c : failing) {
        bool f = false;
        c.read(f);
        EXPECT_TRUE(f) << c.name;
    }
}

TEST(JsonUtil, Arrays) {
    const Tree p = Tree::parse(R"({"a":[1,2.5,"x",4],"e":["Korean","Japanese"],"bad":["Korean",3]})");
    bool flag = false;
    EXPECT_EQ(JsonUtil::getIntArray(&p, "a", flag), (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(flag);
    const std::map<std::string, PrinterCommandBuilder::Printer::Encode> map = {
        {"Korean", PrinterCommandBuilder::Printer::Encode::Korean},
        {"Japanese", PrinterCommandBuilder::Printer::Encode::Japanese}};
    flag = false;
    EXPECT_EQ(JsonUtil::getArray(&p, "e", map, flag).size(), 2u);
    EXPECT_FALSE(flag);
    EXPECT_EQ(JsonUtil::getArray(&p, "bad", map, flag).size(), 1u);
    EXPECT_TRUE(flag);
}

TEST(JsonUtil, PointersAndOrderedDocuments) {
    const json p = json::parse(R"({"a":{"b":[true,"t",1.5]}})");
    bool flag = false;
    EXPECT_TRUE(JsonUtil::getBoolean(&p, json::json_pointer("/a/b/0"), flag));
    EXPECT_EQ(JsonUtil::getString(&p, json::json_pointer("/a/b/1"), flag), "t");
    EXPECT_DOUBLE_EQ(JsonUtil::getDouble(&p, json::json_pointer("/a/b/2"), flag), 1.5);
    EXPECT_FALSE(flag);
    JsonUtil::getDouble(&p, json::json_pointer("/a/b/7"), flag);
    EXPECT_TRUE(flag);
    flag = false;
    JsonUtil::getString(&p, json::json_pointer("/a/b/-"), flag);
    EXPECT_TRUE(flag);
    const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(R"({"z":false,"a":1})");
    flag = false;
    EXPECT_FALSE(JsonUtil::getBoolean(&ordered, "z", flag));
    EXPECT_FALSE(flag);
    JsonUtil::getBoolean(&ordered, "a", flag);
    EXPECT_TRUE(flag);
}
