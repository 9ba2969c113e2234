#pragma once

#include <cstdint>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/protocol/SpoolJobTypes.hpp"

namespace Prelix10 {

// The spooler requests: ESC GS ) space, a 32-bit little-endian count of what follows, the function byte
// and its parameters.
class SpoolCommand {
  public:
    class Kestrin {
      public:
        // Function "0": retry, timeout, the additional-info JSON with its 16-bit length, then the job bytes.
        // An additional-info text or a whole request too long for its length field is refused (argument).
        static ByteBlock printSpool(const ByteBlock& data, const OrvoSpoolJobSettings& settings,
                                    const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo);
        // Function "1" for one job id (0 to 65535; anything else is refused with an argument error).
        static ByteBlock getSpoolJobStatus(std::int64_t jobId);
        // Function "2" for a list size; sizes above 2000 are sent as 2000, negative ones as 0.
        static ByteBlock getSpoolJobStatusList(std::int64_t size);

        // The additional-info text a spool print request carries: the fixed title and version, the job's
        // note and the caller's host fields, written as an indented JSON object.
        static std::string additionalInfoText(const OrvoSpoolJobSettings& settings,
                                              const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo);
    };
};

}  // namespace Prelix10
