#include "prelix10/protocol/InformationReplyParsers.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/protocol/TextReplyScan.hpp"

namespace Prelix10 {

namespace {

using namespace TextReplyScan;

constexpr std::array<std::uint8_t, 7> kInformationHeader{0x1B, 0x1D, 0x29, 0x49, 0x01, 0x00, 0x31};
constexpr std::array<std::uint8_t, 7> kMountedInterfaceHeader{0x1B, 0x1D, 0x29, 0x49, 0x03, 0x00, 0x33};
constexpr std::array<std::uint8_t, 4> kInformationPrefix{0x1B, 0x1D, 0x29, 0x49};

struct InformationKey {
    std::string_view key;
    PrinterInformationType type;
    bool isAddress;
};

constexpr std::array<InformationKey, 6> kInformationKeys{{
    {"BtAdS=", PrinterInformationType::bluetoothAddress, true},
    {"LaNmA=", PrinterInformationType::macAddress, true},
    {"WLanMac=", PrinterInformationType::wlanMacAddress, true},
    {"UsSrN=", PrinterInformationType::usbSerialNumber, false},
    {"PrSrN=", PrinterInformationType::productSerialNumber, false},
    {"BleAdS=", PrinterInformationType::bluetoothLEAddress, true},
}};

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Six pairs of hexadecimal digits, each of the first five optionally followed by ":" or "-"; the digits in
// upper case without separators, or nothing when the text is no such address.
std::optional<std::string> normalisedAddress(std::string_view text) {
    std::string digits;
    std::size_t at = 0;
    for (int pair = 0; pair < 6; ++pair) {
        if (text.size() - at < 2 || !isHexDigit(text[at]) || !isHexDigit(text[at + 1])) return std::nullopt;
        digits.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text[at]))));
        digits.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1]))));
        at += 2;
        if (pair < 5 && at < text.size() && (text[at] == ':' || text[at] == '-')) ++at;
    }
    if (at != text.size()) return std::nullopt;
    return digits;
}

PrinterInformationDictionary informationItems(std::string_view text) {
    PrinterInformationDictionary dictionary;
    for (const auto item : items(text)) {
        for (const auto& key : kInformationKeys) {
            if (!item.starts_with(key.key)) continue;
            const std::string_view value = item.substr(key.key.size());
            dictionary[key.type] = key.isAddress ? normalisedAddress(value) : std::optional<std::string>(value);
            break;
        }
    }
    return dictionary;
}

}  // namespace

CommandParserResult PrinterInformationParser::parse(ByteView data) {
    const std::size_t n = data.size();
    if (n < 9) return CommandParserResult::needMoreData();
    TerminatorFinder terminator(data);
    for (std::size_t i = 0; i + 9 <= n; ++i) {
        if (!startsWith(data, i, kInformationHeader)) continue;
        const auto k = terminator.firstFrom(i + 8);
        // No LF NUL after this header means none after any later one either.
        if (!k) return CommandParserResult::needMoreData();
        const std::string text = textBetween(data, i + 7, *k - 1);
        if (!isUtf8(text)) continue;
        printerInformationDictionary_ = informationItems(text);
        return CommandParserResult::complete(static_cast<std::int64_t>(i), static_cast<std::int64_t>(*k));
    }
    return CommandParserResult::needMoreData();
}

CommandParserResult MountedInterfaceInformationParser::parse(ByteView data) {
    const std::size_t n = data.size();
    if (n < 9) return CommandParserResult::needMoreData();
    TerminatorFinder terminator(data);
    for (std::size_t i = 0; i + 9 <= n; ++i) {
        if (!startsWith(data, i, kMountedInterfaceHeader)) continue;
        const auto k = terminator.firstFrom(i + 9);
        if (!k) return CommandParserResult::needMoreData();
        // A terminator whose LF is one of the two bytes not examined leaves an empty list.
        const std::string text = textBetween(data, i + 9, *k - 1);
        if (!isAscii(text)) continue;
        std::vector<std::string> names;
        for (const auto item : items(text)) names.emplace_back(item);
        mountedInterfaces_ = MountedInterfaces(names);
        return CommandParserResult::complete(static_cast<std::int64_t>(i), static_cast<std::int64_t>(*k));
    }
    return CommandParserResult::needMoreData();
}

CommandAvailableInformationParser::CommandAvailableInformationParser(ByteBlock command) : command_(std::move(command)) {
    if (command_.size() > kMaximumCommandLength) {
        throw Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
    }
}

ByteBlock CommandAvailableInformationParser::requestCommands() const {
    const std::size_t parameterLength = command_.size() + 3;
    ByteBlock request{0x1B, 0x1D, 0x29, 0x49, static_cast<std::uint8_t>(parameterLength & 0xFF),
                      static_cast<std::uint8_t>((parameterLength >> 8) & 0xFF), 0x7F, 0x00, 0x00};
    request.insert(request.end(), command_.begin(), command_.end());
    return request;
}

CommandParserResult CommandAvailableInformationParser::parse(ByteView data) {
    const std::size_t n = data.size();
    const std::size_t length = command_.size();
    if (n < 8) return CommandParserResult::needMoreData();
    for (std::size_t i = 0; i + 8 <= n; ++i) {
        if (!startsWith(data, i, kInformationPrefix) || data[i + 6] != 0x7F) continue;
        const std::size_t parameterLength = data[i + 4];
        if (length + 3 > parameterLength) return CommandParserResult::needMoreData();
        if (i + 5 + parameterLength > n) return CommandParserResult::needMoreData();
        if (!std::equal(command_.begin(), command_.end(), data.begin() + static_cast<std::ptrdiff_t>(i + 7))) continue;
        const std::uint8_t result = data[i + 7 + length];
        available_ = result != 0x00 && result != 0xFF;
        return CommandParserResult::complete(static_cast<std::int64_t>(i),
                                             static_cast<std::int64_t>(i + 4 + parameterLength));
    }
    return CommandParserResult::needMoreData();
}

}  // namespace Prelix10
