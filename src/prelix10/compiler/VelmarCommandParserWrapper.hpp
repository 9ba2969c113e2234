#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/compiler/VelmarCommandParserEntry.hpp"

namespace Prelix10 {

// Bridge between the front object's strings and the compiler core's C strings and buffers.
class VelmarCommandParserWrapper {
  public:
    struct ParseResult {
        // None when no buffer could be had or the result does not fit a 32-bit length.
        std::optional<std::vector<std::uint8_t>> bytes;
        ::VelmarCommandParser::ParseStatus status = ::VelmarCommandParser::ParseStatus::completed;
    };

    static constexpr std::int32_t kFirstParseCapacity = 8192;
    static constexpr std::int32_t kFirstReplaceCapacity = 65536;

    // Compiles into 8192 bytes; when that was short, takes the whole result the compile handed over,
    // or compiles once more into a buffer of the exact size when it could not hand it over.
    static ParseResult parseWithCommand(const std::string& command, const std::string& emulation,
                                        const std::string& model);
    // Expands into 65536 bytes, and once more into a buffer of the exact size when that was short.
    static std::optional<std::string> replaceWithTemplate(const std::string& templateText,
                                                          const std::string& fieldData,
                                                          std::int32_t* errorTypeId, std::int32_t* errorCode,
                                                          std::int32_t* errorMessageId);
};

}  // namespace Prelix10
