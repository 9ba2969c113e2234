#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "command/Code128CodeSetChooser.hpp"

using namespace PrinterCommandBuilder::Printer;

namespace {

std::string choose(const std::string& content) {
    const auto out = Code128CodeSetChooser::choose(reinterpret_cast<const std::uint8_t*>(content.data()),
                                                   content.size());
    std::string s;
    for (std::uint8_t b : out) {
        if (b >= 0x20 && b < 0x7F) {
            s += static_cast<char>(b);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%02X>", b);
            s += buf;
        }
    }
    return s;
}

}  // namespace

TEST(Code128CodeSetChooser, MarksEachCodeSet) {
    struct Case {
        std::string content;
        const char* data;
    } cases[] = {
        {"ABC", "{BABC"},
        {"abc", "{Babc"},
        {"123456", "{C<0C>\"8"},
        {"12345", "{C<0C>\"{B5"},
        {"12", "{B12"},
        {"AB1234cd", "{BAB{C<0C>\"{Bcd"},
        {"\x01" "AB", "{A<01>AB"},
        {"AB\x01", "{AAB<01>"},
        {"ab\x01" "c\x02", "{Bab{S<01>c{A<02>"},
        {"\x01" "a\x02", "{A<01>{Sa<02>"},
        {"a{b", "{Ba{{b"},
        {"\x86" "0123", "{B{1{C<01><17>"},
        {std::string("A\x81" "B\x84", 4), "{BA{2B{4"},
        {"A\xC3\xA9", "{BA"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(choose(c.content), c.data) << c.content;
    }
}
