// The short status reply parsers and the ETB counter parser over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/protocol/StatusReplyParsers.hpp"

#include "ParserRangeCheck.hpp"

using namespace Prelix10;

namespace {
void checkRange(const CommandParserResult& r, std::size_t size) { abortUnlessCompleteRangeInside(r, size); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView view(data, size);
    OrvoEOTPrinterStatusParser eot;
    checkRange(eot.parse(view), size);
    EscPosASBPrinterStatusStrictParser escPosStrict;
    checkRange(escPosStrict.parse(view), size);
    EscPosASBPrinterStatusNonStrictParser escPos;
    checkRange(escPos.parse(view), size);
    EscPosPrinterStatusParser realTime;
    checkRange(realTime.parse(view), size);
    EscPosMobilePrinterStatusParser mobile;
    checkRange(mobile.parse(view), size);
    OrvoOriginalETBCounterParser etb;
    checkRange(etb.parse(view), size);
    return 0;
}
