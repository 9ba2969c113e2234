#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "prelix10/protocol/OrvoAdvertisePacketParser.hpp"

namespace Prelix10 {
namespace {

ByteBlock packet(const std::vector<std::uint8_t>& after) {
    ByteBlock b{0x6C, 0x04, 0x00, 0x11, 0x62, 0xAA, 0xbb, 0x0C};
    b.insert(b.end(), after.begin(), after.end());
    return b;
}
ByteBlock text(const std::string& s) { return ByteBlock(s.begin(), s.end()); }
ByteBlock cat(ByteBlock a, const ByteBlock& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Case {
    const char* name;
    ByteBlock data;
    CommandParserState state;
    std::optional<std::string> model;
    bool print;
    bool wlan;
    std::optional<WLanSettingServiceStatus> status;
};

TEST(AdvertisePacketParser, Cases) {
    using S = CommandParserState;
    const std::vector<Case> cases{
        {"short form", cat(packet({';'}), text("Wexal-T10")), S::complete, "Wexal-T10", true, false, std::nullopt},
        {"short form, empty name", packet({';'}), S::complete, "", true, false, std::nullopt},
        {"long form, both services, last status wins", cat(packet({'x'}), cat(text("Ginor-7;"), {0x03, 0x2A, 0x25})),
         S::complete, "Ginor-7", true, true, WLanSettingServiceStatus(false, true, false, true)},
        {"long form, no status byte among the rest", cat(packet({'x'}), cat(text("M;"), {0x02, 0x1F, 0x30})), S::complete,
         "M", false, true, std::nullopt},
        {"long form, separator last", cat(packet({'x'}), text("Model;")), S::invalid, "Model", false, false, std::nullopt},
        {"long form without separator", cat(packet({'x'}), text("Model")), S::invalid, std::nullopt, false, false,
         std::nullopt},
        {"control byte as marker", packet({0x1F, 'A', ';', 0x01}), S::invalid, std::nullopt, false, false, std::nullopt},
        {"non-ASCII name", packet({';', 0xC3, 0xA9}), S::complete, std::nullopt, true, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvoAdvertisePacketParser parser;
        EXPECT_TRUE(parser.requestCommands().empty());
        const auto r = parser.parse(c.data);
        EXPECT_EQ(r.state, c.state);
        EXPECT_EQ(r.lowerIndex, 0);
        EXPECT_EQ(r.upperIndex, static_cast<std::int64_t>(c.data.size()) - 1);
        EXPECT_EQ(parser.address, "001162AABB0C");
        EXPECT_EQ(parser.modelName, c.model);
        EXPECT_EQ(parser.capPrintService, c.print);
        EXPECT_EQ(parser.capWLanSettingService, c.wlan);
        EXPECT_EQ(parser.wLanSettingServiceStatus, c.status);
    }
}

TEST(AdvertisePacketParser, ShortOrForeignDataHasNoRangeAndNoFields) {
    OrvoAdvertisePacketParser shortParser;
    auto eight = packet({});
    EXPECT_EQ(shortParser.parse(eight), CommandParserResult::needMoreData());
    EXPECT_EQ(shortParser.parse({}), CommandParserResult::needMoreData());

    OrvoAdvertisePacketParser foreign;
    auto other = cat(packet({';'}), text("X"));
    other[1] = 0x00;
    EXPECT_EQ(foreign.parse(other), CommandParserResult::invalid());
    EXPECT_FALSE(foreign.address);
    EXPECT_FALSE(foreign.modelName);
}

}  // namespace
}  // namespace Prelix10
