// The configuration and internal-file reply parsers over arbitrary bytes: no parse reports a range, and a
// document read is valid UTF-8 no longer than the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/OrvoConfigReplyParsers.hpp"

using namespace Prelix10;

namespace {
void checkNoRange(const CommandParserResult& r) {
    if (r.lowerIndex != -1 || r.upperIndex != -1) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView view(data, size);
    SetOrvoConfigParser set;
    checkNoRange(set.parse(view));
    for (const auto area : {OrvoConfigArea::user, OrvoConfigArea::factory}) {
        GetOrvoConfigParser get({}, area);
        const auto result = get.parse(view);
        checkNoRange(result);
        if (result.state == CommandParserState::complete) {
            const auto& text = get.orvoConfig();
            if (text.size() + 9 > size) std::abort();
            if (!isValidUtf8(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())))
                std::abort();
        }
    }
    ControlInternalFileCommandParser file;
    checkNoRange(file.parse(view));
    return 0;
}
