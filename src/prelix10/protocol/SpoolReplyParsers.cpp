#include "prelix10/protocol/SpoolReplyParsers.hpp"

#include <string>

namespace Prelix10 {

namespace {

constexpr std::uint8_t kHeader[4] = {0x1B, 0x1D, 0x29, 0x20};

std::uint64_t readLittleEndian(ByteView bytes, std::size_t offset, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
    return value;
}

OrvoSpoolJobSettingsAdditionalInfo defaultInfo() {
    OrvoSpoolJobSettingsAdditionalInfo info;
    info.title = "OrvoSpoolJobSettingsAdditionalInfo";
    info.version = "1.0.0";
    return info;
}

}  // namespace

std::optional<ByteView> SpoolReply::findBody(ByteView data) {
    if (data.size() < 8) return std::nullopt;
    for (std::size_t k = 0; k + 4 <= data.size(); ++k) {
        if (!std::equal(kHeader, kHeader + 4, data.begin() + static_cast<std::ptrdiff_t>(k))) continue;
        if (k + 8 > data.size()) return std::nullopt;
        // 64-bit sums: a length near 2^32 cannot wrap past the size test.
        const std::uint64_t length = readLittleEndian(data, k + 4, 4);
        if (static_cast<std::uint64_t>(k) + 8 + length > data.size()) return std::nullopt;
        return data.subspan(k + 8, static_cast<std::size_t>(length));
    }
    return std::nullopt;
}

std::optional<OrvoSpoolJobStatus> SpoolReply::readJobRecord(ByteView body, std::size_t& offset) {
    constexpr std::size_t kFixed = 13;  // id 2, state 1, elapsed 4, interface 1, retry 1, timeout 2, length 2
    if (offset > body.size() || body.size() - offset < kFixed) return std::nullopt;
    const std::size_t textLength = static_cast<std::size_t>(readLittleEndian(body, offset + 11, 2));
    if (body.size() - offset - kFixed < textLength) return std::nullopt;

    OrvoSpoolJobStatus::Builder builder;
    builder.jobId = static_cast<std::int64_t>(readLittleEndian(body, offset, 2));
    builder.jobState = SpoolUtil::jobState(body[offset + 2]);
    builder.elapsedTime = static_cast<std::int64_t>(readLittleEndian(body, offset + 3, 4));
    builder.jobReceivedInterface = SpoolUtil::jobReceivedInterface(body[offset + 7]);
    const bool retry = body[offset + 8] == 0x01;
    const auto timeout = static_cast<std::int64_t>(readLittleEndian(body, offset + 9, 2));
    const auto* text = reinterpret_cast<const char*>(body.data() + offset + kFixed);
    const auto info =
        OrvoSpoolJobSettingsAdditionalInfo::decode(std::string(text, textLength)).value_or(defaultInfo());
    builder.jobSettings = OrvoSpoolJobSettings(retry, timeout, info.note);
    builder.appInfo = info.app_info;
    builder.hostModel = info.host_model;
    builder.hostOS = info.host_OS;
    builder.hostIpAddress = info.host_IP;
    offset += kFixed + textLength;
    return OrvoSpoolJobStatus(builder);
}

CommandParserResult SpoolPrintParser::parse(ByteView data) {
    const auto body = SpoolReply::findBody(data);
    if (!body) return CommandParserResult::needMoreData();
    if (body->size() < 5 || (*body)[0] != 0x30) return CommandParserResult::invalid();
    jobId_ = static_cast<std::int64_t>(readLittleEndian(*body, 1, 2));
    isAccepted_ = (*body)[3] == 0x00;
    errorNumber_ = (*body)[4];
    return {CommandParserState::complete, -1, -1};
}

CommandParserResult SpoolJobStatusParser::parse(ByteView data) {
    const auto body = SpoolReply::findBody(data);
    if (!body) return CommandParserResult::needMoreData();
    if (body->size() < 4 || (*body)[0] != 0x31) return CommandParserResult::invalid();
    const std::uint8_t result = (*body)[3];
    if (result == 0x00) {
        // The record's id comes first in the reply, in front of the result byte.
        ByteBlock record(body->begin() + 1, body->begin() + 3);
        record.insert(record.end(), body->begin() + 4, body->end());
        std::size_t offset = 0;
        auto status = SpoolReply::readJobRecord(record, offset);
        if (!status) return CommandParserResult::invalid();
        isSpoolerEnabled_ = true;
        jobExists_ = true;
        orvoSpoolJobStatus_ = std::move(status);
    } else {
        isSpoolerEnabled_ = result == 0x01;
        jobExists_ = false;
        orvoSpoolJobStatus_.reset();
    }
    return {CommandParserState::complete, -1, -1};
}

CommandParserResult SpoolJobStatusListParser::parse(ByteView data) {
    const auto body = SpoolReply::findBody(data);
    if (!body) return CommandParserResult::needMoreData();
    if (body->size() < 4 || (*body)[0] != 0x32) return CommandParserResult::invalid();
    const auto count = static_cast<std::int64_t>(readLittleEndian(*body, 1, 2));
    std::vector<OrvoSpoolJobStatus> list;
    const bool enabled = (*body)[3] == 0x00;
    if (enabled) {
        std::size_t offset = 4;
        for (std::int64_t i = 0; i < count; ++i) {
            auto status = SpoolReply::readJobRecord(*body, offset);
            if (!status) return CommandParserResult::invalid();
            list.push_back(std::move(*status));
        }
    }
    isSpoolerEnabled_ = enabled;
    listSize_ = count;
    orvoSpoolJobStatusList_ = std::move(list);
    return {CommandParserState::complete, -1, -1};
}

}  // namespace Prelix10
