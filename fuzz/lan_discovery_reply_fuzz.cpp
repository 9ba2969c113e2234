// LAN discovery replies over arbitrary bytes: no read outside the block, a complete range inside it, a
// record only after a complete parse, and a unique id that neither begins nor ends with a control or format
// character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "prelix10/protocol/DiscoveryParser.hpp"

using namespace Prelix10;

namespace {
bool isControlOrFormat(UChar32 c) {
    const auto type = u_charType(c);
    return type == U_CONTROL_CHAR || type == U_FORMAT_CHAR;
}

void checkTrimmed(const std::string& text) {
    if (text.empty()) return;
    const auto* s = text.data();
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t at = 0;
    UChar32 first = 0;
    U8_NEXT(s, at, length, first);
    std::int32_t end = length;
    UChar32 last = 0;
    U8_PREV(s, 0, end, last);
    if (first < 0 || last < 0 || isControlOrFormat(first) || isControlOrFormat(last)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DiscoveryParser parser;
    const auto r = parser.parse(ByteView(data, size));
    if (r.state == CommandParserState::complete) {
        if (r.lowerIndex < 0 || r.upperIndex < r.lowerIndex || r.upperIndex >= static_cast<std::int64_t>(size)) std::abort();
        if (!parser.nicInformation()) std::abort();
        (void)parser.nicInformation()->description();
        if (const auto& id = parser.nicInformation()->uniqueId) checkTrimmed(*id);
    } else {
        if (r.lowerIndex != -1 || r.upperIndex != -1 || parser.nicInformation()) std::abort();
    }
    return 0;
}
