#pragma once

#include <cstdint>

namespace PrinterCommandBuilder::Display {

enum class ContrastValue : std::int32_t {
    Plus3 = 0,
    Plus2 = 1,
    Plus1 = 2,
    Default = 3,
    Minus1 = 4,
    Minus2 = 5,
    Minus3 = 6
};

enum class CursorStateValue : std::int32_t { Off = 0, On = 1, Blink = 2 };

// Values 0 to 13, sent unchanged.
enum class InternationalCharacterType : std::int32_t {
    Usa = 0,
    France = 1,
    Germany = 2,
    UK = 3,
    Denmark = 4,
    Sweden = 5,
    Italy = 6,
    Spain = 7,
    Japan = 8,
    Norway = 9,
    Denmark2 = 10,
    Spain2 = 11,
    LatinAmerica = 12,
    Korea = 13,
};

enum class Encode : std::int32_t {
    TraditionalChinese = 0,
    SimplifiedChinese = 1,
    Japanese = 2,
    Korean = 3,
    CodePage = 4
};

}  // namespace PrinterCommandBuilder::Display
