#include "prelix10/protocol/OrvoConfigReplyParsers.hpp"

#include <algorithm>
#include <optional>

namespace Prelix10 {

namespace {

struct Frame {
    std::size_t start;
    std::uint64_t length;
};

// The first header of four bytes matching `header`, with its length; nothing while the header or the
// payload it announces is incomplete. A header whose payload is still due is waited for, never skipped.
std::optional<Frame> findFrame(ByteView data, const std::uint8_t (&header)[4]) {
    if (data.size() < 8) return std::nullopt;
    for (std::size_t j = 0; j + 4 <= data.size(); ++j) {
        if (!std::equal(header, header + 4, data.begin() + static_cast<std::ptrdiff_t>(j))) continue;
        if (j + 8 > data.size()) return std::nullopt;
        std::uint64_t length = 0;
        for (int i = 3; i >= 0; --i) length = (length << 8) | data[j + 4 + static_cast<std::size_t>(i)];
        // 64-bit sums: a length near 2^32 cannot wrap past the size test.
        if (static_cast<std::uint64_t>(j) + 8 + length > data.size()) return std::nullopt;
        return Frame{j, length};
    }
    return std::nullopt;
}

}  // namespace

bool isValidUtf8(ByteView bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra;
        std::uint32_t value;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i - 1 < extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const std::uint8_t next = bytes[i + k];
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        if ((extra == 2 && (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF))) ||
            (extra == 3 && (value < 0x10000 || value > 0x10FFFF))) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

CommandParserResult SetOrvoConfigParser::parse(ByteView data) {
    static constexpr std::uint8_t kHeader[4] = {0x1B, 0x1D, 0x29, 0x23};
    const auto frame = findFrame(data, kHeader);
    if (!frame) return CommandParserResult::needMoreData();
    const std::size_t j = frame->start;
    if (frame->length <= 2 || data[j + 8] != 0x30) return CommandParserResult::invalid();
    isSuccess_ = data[j + 9] == 0x00;
    detail_ = data[j + 10];
    return {CommandParserState::complete, -1, -1};
}

CommandParserResult GetOrvoConfigParser::parse(ByteView data) {
    const std::uint8_t header[4] = {
        0x1B, 0x1D, 0x29, static_cast<std::uint8_t>(area_ == OrvoConfigArea::factory ? 0x3B : 0x23)};
    const auto frame = findFrame(data, header);
    if (!frame) return CommandParserResult::needMoreData();
    const std::size_t j = frame->start;
    // L = 0 leaves no function byte to read.
    if (frame->length == 0 || data[j + 8] != 0x31) return CommandParserResult::invalid();
    const ByteView document = data.subspan(j + 9, static_cast<std::size_t>(frame->length - 1));
    if (!isValidUtf8(document)) return CommandParserResult::invalid();
    orvoConfig_.assign(reinterpret_cast<const char*>(document.data()), document.size());
    return {CommandParserState::complete, -1, -1};
}

CommandParserResult ControlInternalFileCommandParser::parse(ByteView data) {
    static constexpr std::uint8_t kHeader[5] = {0x1B, 0x1D, 0x5D, 0x46, 0x31};
    if (data.size() < 12) return CommandParserResult::needMoreData();
    for (std::size_t j = 0; j + 12 <= data.size(); ++j) {
        if (!std::equal(kHeader, kHeader + 5, data.begin() + static_cast<std::ptrdiff_t>(j))) continue;
        const std::uint8_t state = data[j + 11];
        if (state > 0x01) return CommandParserResult::invalid();
        isReceivingData_ = state == 0x01;
        return {CommandParserState::complete, -1, -1};
    }
    return CommandParserResult::needMoreData();
}

}  // namespace Prelix10
