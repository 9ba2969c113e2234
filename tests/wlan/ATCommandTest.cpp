#include <gtest/gtest.h>

#include <string>

#include "prelix10/wlan/ATCommand.hpp"
#include "prelix10/wlan/ATReplyParsers.hpp"
#include "support/Hex.hpp"

namespace Prelix10::Testing {
namespace {

ByteBlock bytes(const std::string& text) { return ByteBlock(text.begin(), text.end()); }

using L = ATCommand::Lupek599;

TEST(ATCommand, RequestBytes) {
    struct Case {
        ByteBlock request;
        const char* hexBytes;
    };
    const Case cases[] = {
        {L::createChangeTargetModeCommand(WLanMode::infrastructure), "41545750524F463D310D"},
        {L::createChangeTargetModeCommand(WLanMode::unknown), "41545750524F463D300D"},
        {L::createChangeTargetModeCommand(WLanMode::accessPoint), "41545750524F463D320D"},
        {L::createApplySettingCommand(), "4154575345543D310D"},
        {L::createSetSsidCommand("shop"), "415457535349443D73686F700D"},
        {L::createSetSsidCommand("caf\xC3\xA9"), "415457535349443D636166C3A90D"},
        {L::createSetPasswordCommand(""), "41545750534B3D0D"},
        {L::createSetPasswordCommand("12345678"), "41545750534B3D31323334353637380D"},
        {L::createSetSecurityTypeCommand(WLanSecurityType::open), "415457534543 3D300D"},
        {L::createSetSecurityTypeCommand(WLanSecurityType::wpa3SAE), "4154575345433D330D"},
        {L::createSetSecurityTypeCommand(WLanSecurityType::automatic), "4154575345433D31300D"},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(c.request), hex(bytesFromHex(c.hexBytes)));
    EXPECT_EQ(L::createChangeTargetModeCommand(WLanMode::infrastructure).size(), 10u);
    EXPECT_EQ(hex(GetSsidParser().requestCommands()), hex(bytes("ATWSSID?\r")));
    EXPECT_EQ(hex(GetSecurityTypeParser().requestCommands()), hex(bytes("ATWSEC?\r")));
    EXPECT_EQ(hex(CurrentWirelessStatusParser().requestCommands()), "4154570D");
    EXPECT_EQ(hex(ConnectionDiagnosisParser().requestCommands()), hex(bytes("ATWINSPECT\r")));
    EXPECT_EQ(hex(ScanNearbyAccessPointParser().requestCommands()), hex(bytes("ATWS\r")));
    EXPECT_EQ(hex(SetPasswordParser("pw").requestCommands()), hex(bytes("ATWPSK=pw\r")));
}

TEST(ATReply, SetReplyRule) {
    struct Case {
        ByteBlock reply;
        CommandParserState state;
    };
    const Case cases[] = {
        {bytes("OK\r\n"), CommandParserState::needMoreData},  // under 6 bytes
        {bytes("\r\nOK\r\n"), CommandParserState::complete},
        {bytes("ATWSSID=x\r\nOK\r\n"), CommandParserState::complete},
        {bytes("\r\nOK\r\n\r\nERROR\r\n"), CommandParserState::invalid},
        {bytes("\r\nERROR\r\n"), CommandParserState::invalid},
        {bytes("\r\nOK\r"), CommandParserState::needMoreData},
        {bytes("\r\nok\r\n"), CommandParserState::needMoreData},
        {bytes("\xFF\r\nOK\r\n"), CommandParserState::needMoreData},  // not UTF-8
        {bytes("\r\nERROR (SCAN TIMEOUT)\r\n"), CommandParserState::needMoreData},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ATReply::judgeSetReply(c.reply).state, c.state) << hex(c.reply);
        EXPECT_EQ(ATReply::judgeSetReply(c.reply).lowerIndex, -1);
        EXPECT_EQ(SetSsidParser("x").parse(c.reply).state, c.state);
    }
}

TEST(ATReply, NumberRule) {
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"6", 6}, {"+6", 6}, {"-58", -58}, {"007", 7}, {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN}, {"9223372036854775808", std::nullopt}, {"", std::nullopt},
        {"-", std::nullopt}, {"+", std::nullopt}, {"6a", std::nullopt}, {" 6", std::nullopt}, {"6 ", std::nullopt},
        {"--6", std::nullopt}, {"\xD9\xA3", std::nullopt},  // an Arabic-Indic digit is no ASCII digit
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ATReply::parseNumber(text), value) << text;
}

TEST(ATReply, QueryReplies) {
    {
        GetSsidParser p;
        EXPECT_EQ(p.parse(bytes("\r\nssid = shop\r\n")).state, CommandParserState::needMoreData);
        EXPECT_EQ(p.parse(bytes("\r\nssid = shop\r\n\r\nERROR\r\n")).state, CommandParserState::needMoreData);
        EXPECT_EQ(p.parse(bytes("\r\nssid = shop\r\n\r\nOK\r\n")).state, CommandParserState::complete);
        EXPECT_EQ(p.ssid, "shop");
        GetSsidParser tight;
        EXPECT_EQ(tight.parse(bytes("\r\nssid=shop\r\n\r\nOK\r\n")).state, CommandParserState::complete);
        EXPECT_EQ(tight.ssid, "");
        GetSsidParser twice;  // more than one separator: the line is ignored
        twice.parse(bytes("\r\nssid = a = b\r\n\r\nOK\r\n"));
        EXPECT_EQ(twice.ssid, "");
        GetSsidParser undecodable;
        EXPECT_EQ(undecodable.parse(bytes("\r\nssid = \xFF\r\n\r\nOK\r\n")).state, CommandParserState::complete);
        EXPECT_EQ(undecodable.ssid, "");
    }
    {
        const std::pair<const char*, WLanSecurityType> cases[] = {
            {"OPEN", WLanSecurityType::open},       {"WPA-PSK", WLanSecurityType::wpaPersonal},
            {"WPA2-PSK", WLanSecurityType::wpa2Personal}, {"WPA3-SAE", WLanSecurityType::wpa3SAE},
            {"AUTO", WLanSecurityType::automatic},  {"wpa2-psk", WLanSecurityType::unknown},
        };
        for (const auto& [value, type] : cases) {
            GetSecurityTypeParser p;
            EXPECT_EQ(p.parse(bytes(std::string("\r\nSecurity = ") + value + "\r\n\r\nOK\r\n")).state,
                      CommandParserState::complete);
            EXPECT_EQ(p.securityType, type) << value;
        }
        GetSecurityTypeParser missing;
        EXPECT_EQ(missing.parse(bytes("\r\nssid = x\r\n\r\nOK\r\n")).state, CommandParserState::invalid);
        GetSecurityTypeParser empty;
        EXPECT_EQ(empty.parse(bytes("\r\nSecurity = \r\n\r\nOK\r\n")).state, CommandParserState::invalid);
    }
    {
        const std::pair<const char*, WLanMode> modes[] = {
            {"uAP", WLanMode::accessPoint}, {"AP", WLanMode::accessPoint}, {"Station", WLanMode::infrastructure},
            {"station", WLanMode::unknown}, {"", WLanMode::unknown}};
        for (const auto& [value, mode] : modes) {
            CurrentWirelessStatusParser p;
            p.parse(bytes(std::string("\r\nMode = ") + value + "\r\nChannel = 11\r\nBssid = 00:0A\r\nssid = s\r\n\r\nOK\r\n"));
            EXPECT_EQ(p.mode, mode) << value;
            EXPECT_EQ(p.channel, 11);
            EXPECT_EQ(p.bssid, "00:0A");
            EXPECT_EQ(p.ssid, "s");
        }
        CurrentWirelessStatusParser letter;
        letter.parse(bytes("\r\nChannel = 6a\r\n\r\nOK\r\n"));
        EXPECT_EQ(letter.channel, 0);
        CurrentWirelessStatusParser huge;
        huge.parse(bytes("\r\nChannel = 99999999999\r\n\r\nOK\r\n"));
        EXPECT_EQ(huge.channel, 0);
    }
    {
        const std::pair<const char*, int> rssis[] = {
            {"-58 dBm", -58}, {"-58", -127}, {"abc dBm", -127}, {"dBm", -127}, {"-7xdBm", -7}, {"", -127},
            // Four user-perceived characters come off, however many bytes they take.
            {"-40\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", -40}};
        for (const auto& [value, rssi] : rssis) {
            ConnectionDiagnosisParser p;
            EXPECT_EQ(p.parse(bytes(std::string("\r\nSSID: pass\r\nRSSI: ") + value +
                                    "\r\nSecurity Type: fail\r\nSecurity key: pass\r\n\r\nOK\r\n"))
                          .state,
                      CommandParserState::complete);
            EXPECT_EQ(p.rssi, rssi) << value;
            EXPECT_TRUE(p.isPassedSsid);
            EXPECT_FALSE(p.isPassedSecurityType);
            EXPECT_TRUE(p.isPassedSecurityKey);
        }
    }
}

TEST(ATReply, ScanBlocks) {
    const std::string first = "ssid = one\r\nbssid = 00:01\r\nchannel = 1\r\nindicator = -40\r\nsecurity = WPA2-PSK\r\n";
    const std::string second = "ssid = two\r\nbssid = 00:02\r\nchannel = 6\r\nindicator = -70\r\nsecurity = OPEN\r\n";
    {
        ScanNearbyAccessPointParser p;
        EXPECT_EQ(p.parse(bytes("\r\n" + first + second)).state, CommandParserState::needMoreData);
        EXPECT_EQ(p.parse(bytes("\r\n" + first + second + "\r\nERROR\r\n")).state, CommandParserState::needMoreData);
        EXPECT_EQ(p.parse(bytes("\r\n" + first + second + "\r\nERROR (SCAN TIMEOUT)\r\n")).state,
                  CommandParserState::complete);
        ASSERT_EQ(p.foundAPInfoList.size(), 2u);
        EXPECT_EQ(p.foundAPInfoList[0].description(),
                  "ssid : one, bssid : 00:01, channel : 1, rssi : -40, security : WPA2-PSK");
        EXPECT_EQ(p.foundAPInfoList[1].ssid, "two");
        EXPECT_EQ(p.foundAPInfoList[1].channel, 6);
    }
    {
        // The first block lacks its indicator: the second block's lines replace the repeated keys, its indicator
        // closes one entry, and its own security line is left over.
        std::string lacking = first;
        lacking.erase(lacking.find("indicator"), std::string("indicator = -40\r\n").size());
        ScanNearbyAccessPointParser p;
        EXPECT_EQ(p.parse(bytes("\r\n" + lacking + second + "\r\nOK\r\n")).state, CommandParserState::complete);
        ASSERT_EQ(p.foundAPInfoList.size(), 1u);
        EXPECT_EQ(p.foundAPInfoList[0].description(), "ssid : two, bssid : 00:02, channel : 6, rssi : -70, security : WPA2-PSK");
    }
    {
        // Any five keys close an entry; the named ones missing take their fallbacks.
        ScanNearbyAccessPointParser p;
        p.parse(bytes("\r\na = 1\r\nb = 2\r\nc = 3\r\nd = 4\r\nchannel = x\r\n\r\nOK\r\n"));
        ASSERT_EQ(p.foundAPInfoList.size(), 1u);
        EXPECT_EQ(p.foundAPInfoList[0].description(), "ssid : , bssid : , channel : 0, rssi : -127, security : ");
    }
    ScanNearbyAccessPointParser empty;
    EXPECT_EQ(empty.parse(bytes("\r\nOK\r\n")).state, CommandParserState::complete);
    EXPECT_TRUE(empty.foundAPInfoList.empty());
}

TEST(ATReply, CharactersAreUserPerceived) {
    EXPECT_EQ(ATReply::characterCount("abc"), 3u);
    EXPECT_EQ(ATReply::characterCount("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);  // two CJK characters, six bytes
    // A family emoji: five code points joined, one character.
    EXPECT_EQ(ATReply::characterCount("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"), 1u);
    EXPECT_EQ(ATReply::characterCount("e\xCC\x81"), 1u);  // e with a combining accent
    EXPECT_EQ(ATReply::dropLastCharacters("-5e\xCC\x81xyz", 4), "-5");
}

}  // namespace
}  // namespace Prelix10::Testing
