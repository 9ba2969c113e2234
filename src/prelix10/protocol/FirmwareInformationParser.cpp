#include "prelix10/protocol/FirmwareInformationParser.hpp"

#include <array>

#include "prelix10/protocol/TextReplyScan.hpp"

namespace Prelix10 {

namespace {

constexpr std::array<std::uint8_t, 4> kHeader{0x1B, 0x23, 0x2A, 0x2C};

// The version after the only "Ver" of the text; nothing when it holds "Ver" never or more than once.
std::optional<std::string> versionAfterVer(const std::string& text) {
    const std::size_t first = text.find("Ver");
    if (first == std::string::npos) return std::nullopt;
    if (text.find("Ver", first + 3) != std::string::npos) return std::nullopt;
    return text.substr(first + 3);
}

std::string dalixVersion(const std::string& text) {
    std::string rest = text.size() > 2 ? text.substr(2) : std::string();
    for (const char* prefix : {"J1", "T1", "KR"}) {
        if (rest.starts_with(prefix)) return rest.substr(2);
    }
    return rest;
}

}  // namespace

ByteBlock FirmwareInformationParser::requestCommands() const {
    const auto* conformer = dynamic_cast<const FirmwareInformationParserProtocol*>(this);
    return conformer ? conformer->firmwareInformationRequest() : ByteBlock{};
}

CommandParserResult FirmwareInformationParser::parse(ByteView data) {
    auto* conformer = dynamic_cast<FirmwareInformationParserProtocol*>(this);
    if (!conformer) return CommandParserResult::invalid();
    const std::size_t n = data.size();
    if (n < 6) return CommandParserResult::needMoreData();
    TextReplyScan::TerminatorFinder terminator(data);
    for (std::size_t i = 0; i + 6 <= n; ++i) {
        if (!TextReplyScan::startsWith(data, i, kHeader)) continue;
        const auto k = terminator.firstFrom(i + 5);
        if (!k) return CommandParserResult::needMoreData();
        const std::string text = TextReplyScan::textBetween(data, i + 4, *k - 1);
        if (!TextReplyScan::isAscii(text)) continue;
        if (!conformer->decode(text)) return CommandParserResult::invalid();
        return CommandParserResult::complete(static_cast<std::int64_t>(i), static_cast<std::int64_t>(*k));
    }
    return CommandParserResult::needMoreData();
}

bool OrvoFirmwareInformationParser::decode(const std::string& text) {
    std::shared_ptr<ModelDetectionInformation> information;
    try {
        if (detector_) information = detector_(text);
    } catch (...) {
        // A detector that fails has detected nothing.
    }
    if (!information || information->model() == OrvoPrinterModel::unknown) return false;
    std::optional<std::string> version =
        information->model() == OrvoPrinterModel::dalix399 ? dalixVersion(text) : versionAfterVer(text);
    if (!version) return false;
    internalInformation_ = std::move(information);
    internalVersion_ = std::move(version);
    return true;
}

}  // namespace Prelix10
