// The spooler reply parsers over arbitrary bytes: no parse reports a range, and a complete job status or
// list holds only what the body can carry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/SpoolReplyParsers.hpp"

using namespace Prelix10;

namespace {
void checkNoRange(const CommandParserResult& r) {
    if (r.lowerIndex != -1 || r.upperIndex != -1) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView view(data, size);
    SpoolPrintParser print;
    checkNoRange(print.parse(view));
    SpoolJobStatusParser status;
    const auto statusResult = status.parse(view);
    checkNoRange(statusResult);
    if (statusResult.state == CommandParserState::complete &&
        status.jobExists() != status.orvoSpoolJobStatus().has_value()) {
        std::abort();
    }
    SpoolJobStatusListParser list;
    const auto listResult = list.parse(view);
    checkNoRange(listResult);
    // Each record takes at least 13 bytes of the body.
    if (listResult.state == CommandParserState::complete && list.orvoSpoolJobStatusList().size() * 13 > size)
        std::abort();
    return 0;
}
