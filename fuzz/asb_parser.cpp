// Automatic status block parsers over arbitrary bytes: no read outside the buffer, ranges inside it, no
// frame longer than a receive buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"

#include "ParserRangeCheck.hpp"

using namespace Prelix10;

namespace {
void checkRange(const CommandParserResult& r, std::size_t size) {
    if (r.state != CommandParserState::complete) {
        if (r.lowerIndex != -1 || r.upperIndex != -1) std::abort();
        return;
    }
    abortUnlessCompleteRangeInside(r, size);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView view(data, size);
    const auto emulation = size > 0 && (data[0] & 1) ? OrvoPrinterEmulation::orvoGraphic : OrvoPrinterEmulation::kestrin;
    OrvoASBPrinterStatusStrictParser strict(emulation);
    OrvoASBPrinterStatusNonStrictParser nonStrict(emulation);
    const auto s = strict.parse(view);
    checkRange(s, size);
    const auto n = nonStrict.parse(view);
    checkRange(n, size);
    // No frame is ever longer than a port's receive buffer.
    for (const auto* r : {&s, &n}) {
        if (r->state == CommandParserState::complete &&
            static_cast<std::size_t>(r->upperIndex - r->lowerIndex + 1) > BaseOrvoASBPrinterStatusParser::kLargestFrame) {
            std::abort();
        }
    }
    if (n.state == CommandParserState::complete) {
        if (!nonStrict.status() || !nonStrict.extensionData()) std::abort();
        if (nonStrict.extensionData()->size() > size) std::abort();
    }
    return 0;
}
