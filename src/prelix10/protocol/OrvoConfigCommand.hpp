#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// Which configuration area a configuration-get request reads.
enum class OrvoConfigArea : std::uint8_t {
    user = 0,     // area byte "#": the current configuration
    factory = 1,  // area byte ";": the default configuration
};
// The area a selector byte names: user for 0x23, factory for 0x3B, nothing for any other byte.
std::optional<OrvoConfigArea> orvoConfigArea(std::uint8_t byte);
// The selector byte of an area.
std::uint8_t orvoConfigAreaByte(OrvoConfigArea area);

// The outcome of a configuration-set request the printer accepted.
enum class OrvoConfigurationSetResult : int {
    applied = 0,
    accepted = 1,
};
std::string describeEnumeration(OrvoConfigurationSetResult result);

class OrvoConfigCommand {
public:
    class Orvo {
    public:
        // ESC GS ) area count(u32 LE = password bytes + 1) "1" password.
        static ByteBlock createGetCommand(OrvoConfigArea area, const std::optional<std::string>& password);
        // ESC GS ) "#" count(u32 LE = text bytes + 1) "0" text. Refuses (argument error) a text whose
        // length does not fit the count.
        static ByteBlock createSetCommand(const std::string& configuration);
    };
};

}  // namespace Prelix10
