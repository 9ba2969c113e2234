// The firmware-information reply parser over arbitrary bytes, with the model table's detection.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/protocol/FirmwareInformationParser.hpp"

using namespace Prelix10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    OrvoFirmwareInformationParser parser(&ModelDetection::detectModelFromFirmwareName);
    const CommandParserResult r = parser.parse(ByteView(data, size));
    if (r.state == CommandParserState::complete) {
        if (r.lowerIndex < 0 || r.upperIndex < r.lowerIndex ||
            r.upperIndex >= static_cast<std::int64_t>(size))
            std::abort();
        if (!parser.internalInformation() || !parser.internalVersion()) std::abort();
    } else if (parser.internalInformation() || parser.internalVersion()) {
        std::abort();  // nothing is stored unless a reply completes
    }
    return 0;
}
