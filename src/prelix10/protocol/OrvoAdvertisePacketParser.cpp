#include "prelix10/protocol/OrvoAdvertisePacketParser.hpp"

namespace Prelix10 {

namespace {

constexpr std::uint8_t kSeparator = 0x3B;  // ';'

// ASCII only: a byte above 0x7F fails the decoding.
std::optional<std::string> asciiText(ByteView bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        if (b > 0x7F) return std::nullopt;
        text.push_back(static_cast<char>(b));
    }
    return text;
}

std::string hexAddress(ByteView bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

}  // namespace

CommandParserResult OrvoAdvertisePacketParser::parse(ByteView data) {
    const auto n = static_cast<std::int64_t>(data.size());
    if (data.size() < kHeaderLength) return CommandParserResult::needMoreData();
    if (data[0] != kCompanyIdentifier[0] || data[1] != kCompanyIdentifier[1]) return CommandParserResult::invalid();
    address = hexAddress(data.subspan(2, 6));

    const std::uint8_t marker = data[8];
    const ByteView rest = data.subspan(kHeaderLength);
    if (marker == kSeparator) {
        capPrintService = true;
        modelName = asciiText(rest);
        return CommandParserResult::complete(0, n - 1);
    }
    if (marker < 0x20) return {CommandParserState::invalid, 0, n - 1};

    std::size_t separator = 0;
    while (separator < rest.size() && rest[separator] != kSeparator) ++separator;
    if (separator == rest.size()) return {CommandParserState::invalid, 0, n - 1};
    modelName = asciiText(rest.first(separator));
    if (separator + 1 >= rest.size()) return {CommandParserState::invalid, 0, n - 1};

    const std::uint8_t capabilities = rest[separator + 1];
    capPrintService = (capabilities & 0x01) != 0;
    capWLanSettingService = (capabilities & 0x02) != 0;
    for (std::size_t i = separator + 2; i < rest.size(); ++i) {
        if ((rest[i] & 0xF0) == 0x20) wLanSettingServiceStatus = WLanSettingServiceStatus::fromFlags(rest[i] & 0x0F);
    }
    return CommandParserResult::complete(0, n - 1);
}

}  // namespace Prelix10
