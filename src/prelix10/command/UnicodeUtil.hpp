#pragma once

#include <cstdint>

#include "prelix10/command/StrConverter.hpp"

namespace VelmarCommandParser {

class UnicodeUtil {
  public:
    // True when the code is East-Asian ambiguous in the given CJK encoding (never for CodePage).
    static bool isAmbiguousCharacter(uint16_t code, Encode encode);
};

}  // namespace VelmarCommandParser
