#include "prelix10/wlan/ATReplyParsers.hpp"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <limits>
#include <memory>

#include "prelix10/protocol/TextReplyScan.hpp"
#include "prelix10/wlan/ATCommand.hpp"

namespace Prelix10 {

namespace {

constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";
constexpr std::string_view kScanTimeout = "\r\nERROR (SCAN TIMEOUT)\r\n";
constexpr std::size_t kShortest = 6;

std::string_view textOf(ByteView data) { return {reinterpret_cast<const char*>(data.data()), data.size()}; }

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

ByteBlock bytes(std::string_view text) { return ByteBlock(text.begin(), text.end()); }

// The query frame: at least 6 bytes ending in "OK" CR LF. Only then is the text decoded; a text that is not
// UTF-8 gives an empty table.
bool queryFrameComplete(ByteView data) { return data.size() >= kShortest && endsWith(textOf(data), "OK\r\n"); }

std::map<std::string, std::string> queryTable(ByteView data, std::string_view separator) {
    const auto text = textOf(data);
    if (!TextReplyScan::isUtf8(text)) return {};
    return ATReply::keyValues(text, separator);
}

std::string valueOf(const std::map<std::string, std::string>& table, const std::string& key) {
    const auto it = table.find(key);
    return it == table.end() ? std::string() : it->second;
}

// A number field: fallback when the key is absent or the number rule fails (or the value does not fit).
int numberOf(const std::map<std::string, std::string>& table, const std::string& key, int fallback) {
    const auto it = table.find(key);
    if (it == table.end()) return fallback;
    const auto number = ATReply::parseNumber(it->second);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max()) return fallback;
    return static_cast<int>(*number);
}

// The positions after each user-perceived character of the text, in UTF-16 units of the ICU string.
std::vector<std::int32_t> characterEnds(const icu::UnicodeString& unicode) {
    std::vector<std::int32_t> ends;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !breaks) {
        for (std::int32_t i = 0; i < unicode.length(); i = unicode.moveIndex32(i, 1)) ends.push_back(unicode.moveIndex32(i, 1));
        return ends;
    }
    breaks->setText(unicode);
    for (std::int32_t position = breaks->next(); position != icu::BreakIterator::DONE; position = breaks->next())
        ends.push_back(position);
    return ends;
}

}  // namespace

namespace ATReply {

CommandParserResult judgeSetReply(ByteView data) {
    if (data.size() < kShortest) return CommandParserResult::needMoreData();
    const auto text = textOf(data);
    const bool ok = endsWith(text, kOk);
    const bool error = !ok && endsWith(text, kError);
    if ((!ok && !error) || !TextReplyScan::isUtf8(text)) return CommandParserResult::needMoreData();
    return ok ? CommandParserResult{CommandParserState::complete, -1, -1} : CommandParserResult::invalid();
}

std::optional<std::int64_t> parseNumber(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    // Accumulated as a negative number, which reaches the lowest value without overflow.
    std::int64_t value = 0;
    constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        if (value < (kLowest + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == kLowest) return std::nullopt;
    return -value;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find("\r\n", start);
        const auto piece = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!piece.empty()) out.push_back(piece);
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    return out;
}

std::map<std::string, std::string> keyValues(std::string_view text, std::string_view separator) {
    std::map<std::string, std::string> table;
    for (const auto line : lines(text)) {
        const auto at = line.find(separator);
        if (at == std::string_view::npos) continue;
        const auto value = line.substr(at + separator.size());
        if (value.find(separator) != std::string_view::npos) continue;
        table[std::string(line.substr(0, at))] = std::string(value);
    }
    return table;
}

std::size_t characterCount(std::string_view text) {
    return characterEnds(icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())))).size();
}

std::string dropLastCharacters(std::string_view text, std::size_t count) {
    const auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
    const auto ends = characterEnds(unicode);
    if (ends.size() <= count) return {};
    std::string out;
    unicode.tempSubString(0, ends[ends.size() - count - 1]).toUTF8String(out);
    return out;
}

}  // namespace ATReply

ChangeTargetModeParser::ChangeTargetModeParser(WLanMode mode)
    : SetReplyParser(ATCommand::Lupek599::createChangeTargetModeCommand(mode)) {}
SetSsidParser::SetSsidParser(const std::string& ssid) : SetReplyParser(ATCommand::Lupek599::createSetSsidCommand(ssid)) {}
SetSecurityTypeParser::SetSecurityTypeParser(const WLanSecurityType& securityType)
    : SetReplyParser(ATCommand::Lupek599::createSetSecurityTypeCommand(securityType)) {}
SetPasswordParser::SetPasswordParser(const std::string& password)
    : SetReplyParser(ATCommand::Lupek599::createSetPasswordCommand(password)) {}

ByteBlock GetSsidParser::requestCommands() const { return bytes("ATWSSID?\r"); }

CommandParserResult GetSsidParser::parse(ByteView data) {
    if (!queryFrameComplete(data)) return CommandParserResult::needMoreData();
    ssid = valueOf(queryTable(data, " = "), "ssid");
    return {CommandParserState::complete, -1, -1};
}

ByteBlock GetSecurityTypeParser::requestCommands() const { return bytes("ATWSEC?\r"); }

CommandParserResult GetSecurityTypeParser::parse(ByteView data) {
    if (!queryFrameComplete(data)) return CommandParserResult::needMoreData();
    const auto value = valueOf(queryTable(data, " = "), "Security");
    if (value.empty()) return CommandParserResult::invalid();
    if (value == "OPEN") securityType = WLanSecurityType::open;
    else if (value == "WPA-PSK") securityType = WLanSecurityType::wpaPersonal;
    else if (value == "WPA2-PSK") securityType = WLanSecurityType::wpa2Personal;
    else if (value == "WPA3-SAE") securityType = WLanSecurityType::wpa3SAE;
    else if (value == "AUTO") securityType = WLanSecurityType::automatic;
    else securityType = WLanSecurityType::unknown;
    return {CommandParserState::complete, -1, -1};
}

ByteBlock CurrentWirelessStatusParser::requestCommands() const { return bytes("ATW\r"); }

CommandParserResult CurrentWirelessStatusParser::parse(ByteView data) {
    if (!queryFrameComplete(data)) return CommandParserResult::needMoreData();
    const auto table = queryTable(data, " = ");
    ssid = valueOf(table, "ssid");
    bssid = valueOf(table, "Bssid");
    const auto modeText = valueOf(table, "Mode");
    if (modeText == "uAP" || modeText == "AP") mode = WLanMode::accessPoint;
    else if (modeText == "Station") mode = WLanMode::infrastructure;
    else mode = WLanMode::unknown;
    channel = numberOf(table, "Channel", 0);
    return {CommandParserState::complete, -1, -1};
}

ByteBlock ConnectionDiagnosisParser::requestCommands() const { return bytes("ATWINSPECT\r"); }

CommandParserResult ConnectionDiagnosisParser::parse(ByteView data) {
    if (!queryFrameComplete(data)) return CommandParserResult::needMoreData();
    const auto table = queryTable(data, ": ");
    if (valueOf(table, "SSID") == "pass") isPassedSsid = true;
    if (valueOf(table, "Security Type") == "pass") isPassedSecurityType = true;
    if (valueOf(table, "Security key") == "pass") isPassedSecurityKey = true;
    const auto rssiText = valueOf(table, "RSSI");
    if (!rssiText.empty()) {
        // The unit's length is taken off whatever the last characters are.
        static constexpr std::size_t kSuffixLength = 4;  // " dBm"
        const auto number = ATReply::parseNumber(ATReply::dropLastCharacters(rssiText, kSuffixLength));
        rssi = number && *number >= std::numeric_limits<int>::min() && *number <= std::numeric_limits<int>::max()
                   ? static_cast<int>(*number)
                   : kNoRssi;
    }
    return {CommandParserState::complete, -1, -1};
}

ByteBlock ScanNearbyAccessPointParser::requestCommands() const { return bytes("ATWS\r"); }

CommandParserResult ScanNearbyAccessPointParser::parse(ByteView data) {
    if (data.size() < kShortest) return CommandParserResult::needMoreData();
    const auto text = textOf(data);
    if (!endsWith(text, kOk) && !endsWith(text, kScanTimeout)) return CommandParserResult::needMoreData();
    if (!TextReplyScan::isUtf8(text)) return CommandParserResult::needMoreData();
    foundAPInfoList.clear();
    std::map<std::string, std::string> table;
    for (const auto line : ATReply::lines(text)) {
        const auto at = line.find(" = ");
        if (at != std::string_view::npos && line.find(" = ", at + 3) == std::string_view::npos) {
            table[std::string(line.substr(0, at))] = std::string(line.substr(at + 3));
        }
        // Any five distinct keys close an entry; the named keys missing among them take their fallbacks.
        if (table.size() == 5) {
            foundAPInfoList.emplace_back(valueOf(table, "ssid"), valueOf(table, "bssid"), numberOf(table, "channel", 0),
                                         numberOf(table, "indicator", -127), valueOf(table, "security"));
            table.clear();
        }
    }
    return {CommandParserState::complete, -1, -1};
}

}  // namespace Prelix10
