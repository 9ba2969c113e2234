#pragma once

// The wireless LAN module's replies: CR LF separated text that ends in CR LF "OK" CR LF (or an error line).
// Each parser is used for one exchange; parse is handed the whole reply received so far. Keys and values are
// compared exactly. Parsers never throw: an unterminated or undecodable reply needs more data, and the
// caller's time budget ends it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/wlan/FoundAPInfo.hpp"
#include "prelix10/wlan/WLanMode.hpp"
#include "prelix10/wlan/WLanSecurityType.hpp"

namespace Prelix10 {

namespace ATReply {
// Set replies: complete on a final CR LF "OK" CR LF, invalid on a final CR LF "ERROR" CR LF; fewer than 6
// bytes, text that is not UTF-8 or any other ending need more data.
CommandParserResult judgeSetReply(ByteView data);
// An optional sign and one or more ASCII digits within the signed 64-bit range; none for anything else.
std::optional<std::int64_t> parseNumber(std::string_view text);
// The lines of a text split at CR LF, empty ones dropped.
std::vector<std::string_view> lines(std::string_view text);
// "key<separator>value" lines: a line with exactly one separator stores its key and value (a later line
// replaces an earlier value of the same key); other lines are ignored.
std::map<std::string, std::string> keyValues(std::string_view text, std::string_view separator);
// The number of user-perceived characters (extended grapheme clusters) of a UTF-8 text.
std::size_t characterCount(std::string_view text);
// The text without its last count user-perceived characters; empty when it has no more than count.
std::string dropLastCharacters(std::string_view text, std::size_t count);
}  // namespace ATReply

// The four set requests share the set-reply rule.
class SetReplyParser : public CommandParser {
public:
    explicit SetReplyParser(ByteBlock request) : request_(std::move(request)) {}
    ByteBlock requestCommands() const override { return request_; }
    CommandParserResult parse(ByteView data) override { return ATReply::judgeSetReply(data); }

private:
    ByteBlock request_;
};

class ChangeTargetModeParser final : public SetReplyParser {
public:
    explicit ChangeTargetModeParser(WLanMode mode);
};
class SetSsidParser final : public SetReplyParser {
public:
    explicit SetSsidParser(const std::string& ssid);
};
class SetSecurityTypeParser final : public SetReplyParser {
public:
    explicit SetSecurityTypeParser(const WLanSecurityType& securityType);
};
class SetPasswordParser final : public SetReplyParser {
public:
    explicit SetPasswordParser(const std::string& password);
};

// "ATWSSID?": the "ssid = <name>" line.
class GetSsidParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override;
    CommandParserResult parse(ByteView data) override;

    std::string ssid;
};

// "ATWSEC?": the "Security = <type>" line; a reply without a value is invalid.
class GetSecurityTypeParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override;
    CommandParserResult parse(ByteView data) override;

    WLanSecurityType securityType = WLanSecurityType::unknown;
};

// "ATW": the module's mode, SSID, BSSID and channel.
class CurrentWirelessStatusParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override;
    CommandParserResult parse(ByteView data) override;

    std::string ssid;
    WLanMode mode = WLanMode::unknown;
    std::string bssid;
    int channel = 0;
};

// "ATWINSPECT": the connection diagnosis, "key: value" lines.
class ConnectionDiagnosisParser final : public CommandParser {
public:
    static constexpr int kNoRssi = -127;
    ByteBlock requestCommands() const override;
    CommandParserResult parse(ByteView data) override;

    bool isPassedSsid = false;
    int rssi = kNoRssi;
    bool isPassedSecurityType = false;
    bool isPassedSecurityKey = false;
};

// "ATWS": blocks of five "key = value" lines, one access point each; the reply ends in OK or in the scan
// time-out text, and either way gives the blocks that were complete.
class ScanNearbyAccessPointParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override;
    CommandParserResult parse(ByteView data) override;

    std::vector<FoundAPInfo> foundAPInfoList;
};

}  // namespace Prelix10
