// Advertisement manufacturer data over arbitrary bytes: no read outside the block, a range that covers the
// block exactly, and the fields that only a recognised header may set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/OrvoAdvertisePacketParser.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    OrvoAdvertisePacketParser parser;
    const auto r = parser.parse(ByteView(data, size));
    const auto last = static_cast<std::int64_t>(size) - 1;
    if (r.state == CommandParserState::complete) {
        if (r.lowerIndex != 0 || r.upperIndex != last) std::abort();
        if (!parser.address || parser.address->size() != 12) std::abort();
    } else if (r.lowerIndex == -1) {
        if (r.upperIndex != -1 || parser.address || parser.modelName || parser.capPrintService) std::abort();
    } else if (r.state != CommandParserState::invalid || r.lowerIndex != 0 || r.upperIndex != last) {
        std::abort();
    }
    if (parser.modelName && parser.modelName->size() > size) std::abort();
    return 0;
}
