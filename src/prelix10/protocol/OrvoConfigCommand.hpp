#pragma once

#include <optional>
#include <string>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// Which configuration area a configuration-get request reads.
enum class OrvoConfigArea {
    user,     // area byte "#"
    factory,  // area byte ";"
};

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
