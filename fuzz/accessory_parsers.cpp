// The display, input-device status and stored-data reply parsers over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/AccessoryReplyParsers.hpp"

#include "ParserRangeCheck.hpp"

using namespace Prelix10;

namespace {
void checkRange(const CommandParserResult& r, std::size_t size) {
    if (r.state == CommandParserState::invalid) std::abort();  // these parsers never reject
    abortUnlessCompleteRangeInside(r, size);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView view(data, size);
    DisplayStatusParser display;
    checkRange(display.parse(view), size);
    InputDeviceStatusParser input;
    checkRange(input.parse(view), size);
    InputDeviceStoredDataParser stored;
    const CommandParserResult r = stored.parse(view);
    checkRange(r, size);
    if (r.state == CommandParserState::complete &&
        static_cast<std::int64_t>(stored.storedData()->size()) != r.upperIndex - r.lowerIndex - 5) {
        std::abort();
    }
    return 0;
}
