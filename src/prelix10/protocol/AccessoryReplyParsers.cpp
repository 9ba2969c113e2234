#include "prelix10/protocol/AccessoryReplyParsers.hpp"

#include "prelix10/protocol/TextReplyScan.hpp"

namespace Prelix10 {

CommandParserResult AccessoryStatusParser::parse(ByteView data) {
    const std::size_t n = data.size();
    if (n < 5 || requestCommands_.size() != 4) return CommandParserResult::needMoreData();
    for (std::size_t i = 0; i + 5 <= n; ++i) {
        if (!TextReplyScan::startsWith(data, i, requestCommands_)) continue;
        const std::uint8_t status = data[i + 4];
        existsStoredData_ = (status & 0x01) != 0;
        isConnected_ = (status & 0x02) != 0;
        return CommandParserResult::complete(static_cast<std::int64_t>(i), static_cast<std::int64_t>(i + 4));
    }
    return CommandParserResult::needMoreData();
}

CommandParserResult InputDeviceStoredDataParser::parse(ByteView data) {
    const std::size_t n = data.size();
    if (n < 6) return CommandParserResult::needMoreData();
    for (std::size_t i = 0; i + 6 <= n; ++i) {
        if (!TextReplyScan::startsWith(data, i, requestCommands_)) continue;
        // The length is unsigned: 0x8000 and above are lengths like any other.
        const std::size_t length = (static_cast<std::size_t>(data[i + 4]) << 8) | data[i + 5];
        if (i + 6 + length > n) return CommandParserResult::needMoreData();
        const auto begin = data.begin() + static_cast<std::ptrdiff_t>(i + 6);
        storedData_ = ByteBlock(begin, begin + static_cast<std::ptrdiff_t>(length));
        return CommandParserResult::complete(static_cast<std::int64_t>(i), static_cast<std::int64_t>(i + 5 + length));
    }
    return CommandParserResult::needMoreData();
}

}  // namespace Prelix10
