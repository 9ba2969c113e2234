#pragma once

#include <string>
#include <string_view>

namespace Prelix10 {

class FormatConverter {
public:
    // A MAC address (six pairs of hex digits, each of the first five optionally followed by ":" or "-")
    // becomes its twelve upper-case hex digits; any other text is returned unchanged.
    static std::string normalizeMacAddress(std::string_view text);
};

class FormatChecker {
public:
    // Four decimal numbers 0 to 255 without leading zeros, separated by ".".
    static bool isIPv4Address(std::string_view text);
    // Six pairs of hex digits, each of the first five optionally followed by ":" or "-".
    static bool isMacAddress(std::string_view text);
};

}  // namespace Prelix10
