#include <gtest/gtest.h>

#include "prelix10/protocol/DiscoveryParser.hpp"
#include "support/Hex.hpp"
#include "support/VirtualPrinterDiscovery.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

CommandParserResult parse(DiscoveryParser& parser, const Bytes& bytes) { return parser.parse(ByteView(bytes)); }

void setU16(Bytes& b, std::size_t at, std::size_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}
std::size_t u16(const Bytes& b, std::size_t at) { return (b[at] << 8) | b[at + 1]; }

}  // namespace

TEST(DiscoveryCommand, RequestsOfBothVersions) {
    EXPECT_EQ(hex(DiscoveryCommand::makeRequest(true)),
              "4F52565F424341535400000000000000" "5251342E302E3000" "001C6431");
    EXPECT_EQ(hex(DiscoveryCommand::makeRequest(false)),
              "4F52565F424341535400000000000000" "5251312E302E3000" "001C6431");
    EXPECT_EQ(hex(DiscoveryParser().requestCommands()), hex(DiscoveryCommand::makeRequest(false)));
}

TEST(DiscoveryParser, DecodesAWholeReply) {
    DiscoveryIdentity id;
    id.macAddress = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    id.ipAddress = {0xC0, 0xA8, 0x00, 0x0A};
    id.responseVersion = "RS1.2.3";
    id.nameDetail = "Ginor65";
    Bytes reply = encodeDiscoveryReply(id);
    DiscoveryParser parser;
    const auto result = parse(parser, reply);
    EXPECT_EQ(result, CommandParserResult::complete(0, static_cast<std::int64_t>(reply.size()) - 1));
    const auto& n = *parser.nicInformation();
    EXPECT_EQ(n.responseVersion, "1.2.3");
    EXPECT_EQ(n.name, "IFBD-VP1");
    EXPECT_EQ(n.ipVersion, 4);
    EXPECT_EQ(n.macAddress, "0A1B2C3D4E5F");
    EXPECT_EQ(n.ipAddress, "192.168.0.10");
    EXPECT_EQ(n.subnetMask, "255.0.0.0");
    EXPECT_EQ(n.configPrint, true);
    EXPECT_EQ(n.rarp, false);
    EXPECT_EQ(n.deviceModel, "Ginor65 (ORV-001)");
    EXPECT_EQ(n.usedPort, 9100);
    EXPECT_EQ(n.usedIPAddress, "127.0.0.1");
    EXPECT_EQ(n.deviceStatus->size(), 32u);
    EXPECT_EQ(n.nameDetail, "Ginor65");
    EXPECT_EQ(n.productSerialNumber, "VP0000001");
    EXPECT_EQ(n.uniqueId, "vp-unique-1");
}

TEST(DiscoveryParser, IncompleteBlocksNeedMoreData) {
    const Bytes reply = encodeDiscoveryReply({});
    DiscoveryParser parser;
    EXPECT_EQ(parse(parser, Bytes(reply.begin(), reply.begin() + 301)), CommandParserResult::needMoreData());
    EXPECT_EQ(parse(parser, Bytes(reply.begin(), reply.begin() + 400)), CommandParserResult::needMoreData());
    Bytes noMagic = reply;
    noMagic[0] = 'X';
    EXPECT_EQ(parse(parser, noMagic), CommandParserResult::needMoreData());
    Bytes noVersion = reply;
    noVersion[16] = 'X';
    EXPECT_EQ(parse(parser, noVersion), CommandParserResult::needMoreData());
    EXPECT_FALSE(parser.nicInformation());
}

TEST(DiscoveryParser, FrameAfterLeadingBytesIsMeasuredFromItsOwnHeader) {
    Bytes block(10, 0x55);
    const Bytes reply = encodeDiscoveryReply({});
    block.insert(block.end(), reply.begin(), reply.end());
    DiscoveryParser parser;
    EXPECT_EQ(parse(parser, block),
              CommandParserResult::complete(10, 10 + static_cast<std::int64_t>(reply.size()) - 1));
}

TEST(DiscoveryParser, SectionLengthDecidesWhichFieldsExist) {
    Bytes reply = encodeDiscoveryReply({});
    const std::size_t nic = u16(reply, 26);
    DiscoveryParser parser;
    setU16(reply, nic, 44);
    ASSERT_EQ(parse(parser, reply).state, CommandParserState::complete);
    EXPECT_EQ(parser.nicInformation()->ipVersion, 4);
    EXPECT_FALSE(parser.nicInformation()->macAddress);
    EXPECT_FALSE(parser.nicInformation()->ipAddress);
    setU16(reply, nic, 45);
    ASSERT_EQ(parse(parser, reply).state, CommandParserState::complete);
    EXPECT_EQ(parser.nicInformation()->macAddress, "001162AABBCC");
    EXPECT_FALSE(parser.nicInformation()->ipAddress);
    setU16(reply, nic, 2);
    ASSERT_EQ(parse(parser, reply).state, CommandParserState::complete);
    EXPECT_FALSE(parser.nicInformation()->name);
}

TEST(DiscoveryParser, FieldEncodings) {
    Bytes reply = encodeDiscoveryReply({});
    const std::size_t nic = u16(reply, 26), config = u16(reply, 28), host = u16(reply, 32);
    reply[nic + 2 + 3] = 0x80;  // a name byte outside ASCII
    reply[config + 2] = '2';    // a flag that is neither 0 nor 1
    reply[host + 2] = 0xC3;     // host name: valid UTF-8, not ASCII
    reply[host + 3] = 0xA9;
    reply[host + 200] = 0xC3;   // unique id: the same bytes are kept
    reply[host + 201] = 0xA9;
    DiscoveryParser parser;
    ASSERT_EQ(parse(parser, reply).state, CommandParserState::complete);
    const auto& n = *parser.nicInformation();
    EXPECT_FALSE(n.name);
    EXPECT_FALSE(n.configPrint);
    EXPECT_FALSE(n.hostName);
    EXPECT_EQ(n.uniqueId, "\xC3\xA9-unique-1");
}

TEST(DiscoveryParser, RepliesThatDoNotHoldTogetherAreInvalid) {
    const Bytes good = encodeDiscoveryReply({});
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"non-ASCII ip version", [](Bytes& b) { b[u16(b, 26) + 42] = 0xFF; }},
        {"frame length 0", [](Bytes& b) { setU16(b, 24, 0); }},
        {"frame shorter than its header", [](Bytes& b) { setU16(b, 24, 20); }},
        {"frame length 32768", [](Bytes& b) { setU16(b, 24, 32768); b.resize(33000, 0); }},
        {"section offset outside the frame", [](Bytes& b) { setU16(b, 30, 60000); }},
        {"section length 32768", [](Bytes& b) { setU16(b, u16(b, 30), 32768); }},
        {"section claims fields past the frame", [](Bytes& b) { setU16(b, u16(b, 32), 30000); setU16(b, 24, u16(b, 32) + 100); }},
        {"used port 32768", [](Bytes& b) { setU16(b, u16(b, 32) + 66, 32768); }},
    };
    for (const auto& c : cases) {
        Bytes bytes = good;
        c.spoil(bytes);
        DiscoveryParser parser;
        EXPECT_EQ(parse(parser, bytes).state, CommandParserState::invalid) << c.what;
        EXPECT_FALSE(parser.nicInformation()) << c.what;
    }
}

TEST(DiscoveryParser, FormerRecordKeptAfterAnInvalidReply) {
    DiscoveryParser parser;
    ASSERT_EQ(parse(parser, encodeDiscoveryReply({})).state, CommandParserState::complete);
    Bytes bad = encodeDiscoveryReply({});
    bad[u16(bad, 26) + 42] = 0xFF;
    EXPECT_EQ(parse(parser, bad).state, CommandParserState::invalid);
    EXPECT_EQ(parser.nicInformation()->macAddress, "001162AABBCC");
}

TEST(DiscoveryParser, UniqueIdLosesControlAndFormatCharactersAtBothEnds) {
    struct Case {
        const char* what;
        std::string field;  // the field's bytes before the zero padding
        std::string expected;
    };
    const Case cases[] = {
        {"leading U+200B and U+0085", "\xE2\x80\x8B\xC2\x85" "abc", "abc"},
        {"trailing U+200B", "abc\xE2\x80\x8B", "abc"},
        {"trailing U+0085", "abc\xC2\x85", "abc"},
        {"trailing U+E0001 (four bytes)", "abc\xF3\xA0\x80\x81", "abc"},
        {"both ends, blanks kept", "\xEF\xBB\xBF\r abc \xE2\x80\x8B\n", " abc "},
        {"inner format character kept", "a\xE2\x80\x8B" "b", "a\xE2\x80\x8B" "b"},
        {"no-break space is not a format character", "\xC2\xA0" "abc\xC2\xA0", "\xC2\xA0" "abc\xC2\xA0"},
        {"only control and format characters", "\x01\xE2\x80\x8B\xC2\x85\x7F", ""},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        Bytes reply = encodeDiscoveryReply({});
        const std::size_t field = u16(reply, 32) + 200;
        std::fill(reply.begin() + static_cast<std::ptrdiff_t>(field), reply.begin() + static_cast<std::ptrdiff_t>(field + 64), 0);
        std::copy(c.field.begin(), c.field.end(), reply.begin() + static_cast<std::ptrdiff_t>(field));
        DiscoveryParser parser;
        ASSERT_EQ(parse(parser, reply).state, CommandParserState::complete) << c.what;
        EXPECT_EQ(parser.nicInformation()->uniqueId, c.expected) << c.what;
    }
}
