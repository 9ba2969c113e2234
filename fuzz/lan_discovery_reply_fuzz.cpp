// LAN discovery replies over arbitrary bytes: no read outside the block, a complete range inside it, and a
// record only after a complete parse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/DiscoveryParser.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DiscoveryParser parser;
    const auto r = parser.parse(ByteView(data, size));
    if (r.state == CommandParserState::complete) {
        if (r.lowerIndex < 0 || r.upperIndex < r.lowerIndex || r.upperIndex >= static_cast<std::int64_t>(size)) std::abort();
        if (!parser.nicInformation()) std::abort();
        (void)parser.nicInformation()->description();
    } else {
        if (r.lowerIndex != -1 || r.upperIndex != -1 || parser.nicInformation()) std::abort();
    }
    return 0;
}
