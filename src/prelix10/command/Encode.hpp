#pragma once

#include <cstdint>

namespace VelmarCommandParser {

// The text converter's numbering of the encodings.
enum class Encode : std::int32_t {
    Japanese = 0,
    SimplifiedChinese = 1,
    TraditionalChinese = 2,
    Korean = 3,
    CodePage = 4,
};

}  // namespace VelmarCommandParser
