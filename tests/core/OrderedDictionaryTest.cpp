#include <gtest/gtest.h>

#include <string>

#include "prelix10/core/OrderedDictionary.hpp"

using namespace Prelix10;

namespace {
using Dict = OrderedDictionary<std::string, int>;
std::string keys(const Dict& d) {
    std::string out;
    for (const auto& pair : d) out += pair.key;
    return out;
}
}  // namespace

TEST(OrderedDictionary, SetReplacesInPlaceRemovesAndAppends) {
    Dict d{{"a", 1}, {"b", 5}, {"c", 3}};
    d.set("b", 2);
    EXPECT_EQ(keys(d), "abc");
    EXPECT_EQ(d.value("b"), 2);
    d.set("b", std::nullopt);
    EXPECT_EQ(keys(d), "ac");
    EXPECT_FALSE(d.value("b"));
    d.set("zz", std::nullopt);
    EXPECT_EQ(keys(d), "ac");
    d.set("d", 4);
    EXPECT_EQ(keys(d), "acd");
    EXPECT_EQ(d.parameters().back().value, 4);
}

TEST(OrderedDictionary, ReadingTakesTheFirstOfDuplicateKeys) {
    Dict d{{"k", 1}, {"k", 2}};
    EXPECT_EQ(d.value("k"), 1);
    d.remove("k");
    EXPECT_EQ(d.value("k"), 2);
}

TEST(OrderedDictionary, IterationsAreIndependent) {
    Dict d{{"a", 1}, {"b", 2}, {"c", 3}};
    EXPECT_EQ(keys(d), "abc");
    EXPECT_EQ(keys(d), "abc");
    std::string seen;
    for (const auto& outer : d) {
        seen += outer.key;
        for (const auto& inner : d) seen += inner.key;  // a nested walk does not restart the outer one
        seen += "|";
    }
    EXPECT_EQ(seen, "aabc|babc|cabc|");
}
