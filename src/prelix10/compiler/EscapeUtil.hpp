#pragma once

#include <string>

namespace TemplatePrint {

// The escapes of replacing specifiers.
class EscapeUtil {
  public:
    // Every "\}" becomes "}".
    static std::string decodeParenthesisEscape(const std::string& text);
    // "\;" becomes ";", any other ";" is removed.
    static std::string decodeSemicolonEscape(const std::string& text);
    // "\." becomes ".", then "\%" becomes "%".
    static std::string decodePeriodPercentEscape(const std::string& text);
};

}  // namespace TemplatePrint
