#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "prelix10/core/ByteUtil.hpp"
#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/core/PropertyDescription.hpp"

using namespace Prelix10;

namespace {
std::string hex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}
}  // namespace

TEST(Formatting, MacAddresses) {
    for (const char* text : {"12-34-56-78-9A-BC", "123456789abc", "12:34-56:78-9a:bc", "12:34:56:78:9a:bc"}) {
        EXPECT_TRUE(FormatChecker::isMacAddress(text)) << text;
        EXPECT_EQ(FormatConverter::normalizeMacAddress(text), "123456789ABC") << text;
    }
    for (const char* text : {"123456789AB", "12:34:56:78:9a:bc:de", "aa:bb:cc:dd:ee", "192.168.0.1", "",
                             "12::34:56:78:9a:bc", "12:34:56:78:9a:bc:", "12:34:56:78:9a:bg"}) {
        EXPECT_FALSE(FormatChecker::isMacAddress(text)) << text;
        EXPECT_EQ(FormatConverter::normalizeMacAddress(text), text) << text;
    }
}

TEST(Formatting, IPv4Addresses) {
    for (const char* text : {"192.168.0.1", "0.0.0.0", "255.255.255.255", "10.1.2.30"})
        EXPECT_TRUE(FormatChecker::isIPv4Address(text)) << text;
    for (const char* text : {"192.168.00.1", "256.1.1.1", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "1..2.3", "a.b.c.d",
                             "01.2.3.4", "1.2.3.1000", "", " 1.2.3.4"})
        EXPECT_FALSE(FormatChecker::isIPv4Address(text)) << text;
}

TEST(Formatting, ChunksAndPrefixes) {
    std::vector<std::uint8_t> ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto pieces = Util::chunked(ten, 4);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(hex(pieces[0]), "00010203");
    EXPECT_EQ(hex(pieces[2]), "0809");
    EXPECT_EQ(Util::chunked(std::span(ten).first(8), 4).size(), 2u);
    EXPECT_TRUE(Util::chunked({}, 4).empty());
    // A piece size below 1 does not loop: the block comes back whole.
    for (int n : {0, -3}) {
        auto whole = Util::chunked(ten, n);
        ASSERT_EQ(whole.size(), 1u);
        EXPECT_EQ(whole[0], ten);
    }
    const std::vector<std::uint8_t> prefix{0, 1};
    EXPECT_TRUE(Util::hasBytePrefix(ten, prefix));
    EXPECT_TRUE(Util::hasBytePrefix(ten, {}));
    EXPECT_FALSE(Util::hasBytePrefix(prefix, ten));
    EXPECT_FALSE(Util::hasBytePrefix(std::span(ten).subspan(1), prefix));
}

TEST(Formatting, LittleEndianIntegers) {
    EXPECT_EQ(hex(Util::littleEndianBytes16(70000)), "7011");
    EXPECT_EQ(hex(Util::littleEndianBytes16(-5)), "0000");
    EXPECT_EQ(hex(Util::littleEndianBytes32(16909060)), "04030201");
    EXPECT_EQ(hex(Util::littleEndianBytes32(0x1FFFFFFFFLL)), "FFFFFFFF");
    EXPECT_EQ(Util::littleEndianUInt32(std::vector<std::uint8_t>{1, 2, 3}), 0u);
    EXPECT_EQ(Util::littleEndianUInt32(std::vector<std::uint8_t>{0x10, 0, 0, 0, 0xFF}), 16u);
    EXPECT_EQ(Util::littleEndianUInt32(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}), 0xFFFFFFFFu);
}

TEST(Formatting, ReflectiveDescription) {
    EXPECT_EQ(PropertyDescription().add("", 1).add("", true).text(), "");
    std::optional<std::string> text = "abc";
    std::optional<std::string> none;
    std::optional<std::vector<std::uint8_t>> bytes = std::vector<std::uint8_t>{0x0A, 0xFF};
    std::optional<InterfaceType> type = InterfaceType::bluetooth;
    std::map<std::string, std::optional<bool>> dictionary{{"a", true}, {"b", std::nullopt}};
    EXPECT_EQ(PropertyDescription()
                  .add("text", text)
                  .add("none", none)
                  .add("bytes", bytes)
                  .add("type", type)
                  .add("count", 12)
                  .add("dictionary", dictionary)
                  .add("empty", std::map<std::string, int>{})
                  .text(),
              "text : Optional(\"abc\"), none : nil, bytes : [0A, FF], type : Optional(2), count : 12, "
              "dictionary : [a : Optional(true), b : nil], empty : []");

    OrvoConnectionSettings settings(InterfaceType::lan, "abc", false);
    EXPECT_EQ(settings.description(), "interfaceType : 4, identifier : abc, autoSwitchInterface : false");
}

TEST(ConnectionSettings, StoresItsArgumentsUnchanged) {
    OrvoConnectionSettings settings(InterfaceType::usb, "", true);
    EXPECT_EQ(settings.identifier(), "");
    EXPECT_EQ(settings.interfaceType(), InterfaceType::usb);
    EXPECT_TRUE(settings.autoSwitchInterface());
    settings.setIdentifier(OrvoConnectionSettings::FIRST_FOUND_DEVICE());
    settings.setInterfaceType(InterfaceType::bluetoothLE);
    EXPECT_EQ(settings.identifier(), "FirstFoundDevice__DefinedByOrvo");
    EXPECT_TRUE(settings.autoSwitchInterface());
    EXPECT_EQ(OrvoConnectionSettings::FIRST_FOUND_DEVICE(), OrvoConnectionSettings::FIRST_FOUND_DEVICE());
}
