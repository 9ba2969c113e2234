#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "prelix10/builder/PrinterParameters.hpp"

namespace Prelix10::VelmarCommand {

// How user text enters a command document.
class VelmarCommandParameterConverter {
  public:
    // The text as the builders store it: a CR LF pair and a lone CR become one LF. The JSON writer escapes
    // the rest when it writes the document.
    static std::string convertText(std::string_view text);
    // The text as it appears between the quotes of the written document: backslash, line breaks (CR LF,
    // CR and LF each one "\n"), double quote and TAB escaped; other control characters as \u00XX;
    // invalid UTF-8 replaced by U+FFFD; everything else unchanged.
    static std::string escape(std::string_view text);
    // The JSON names of CJK character types, in the given order.
    static std::vector<std::string> cjkCharacterTypeNames(
        const std::vector<Printer::CJKCharacterType>& types);
};

}  // namespace Prelix10::VelmarCommand
