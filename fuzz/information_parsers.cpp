// The printer-information, mounted-interface and command-availability reply parsers over arbitrary bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/InformationReplyParsers.hpp"

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
    PrinterInformationParser information;
    checkRange(information.parse(view), size);
    MountedInterfaceInformationParser mounted;
    checkRange(mounted.parse(view), size);
    // The command asked for is taken from the first bytes, so that echoes can match.
    const std::uint8_t* commandStart = size > 0 ? data + 1 : data;
    const std::size_t commandLength = size > 0 ? std::min<std::size_t>(data[0] % 8, size - 1) : 0;
    const ByteBlock command(commandStart, commandStart + commandLength);
    CommandAvailableInformationParser available(command);
    checkRange(available.parse(view), size);
    return 0;
}
