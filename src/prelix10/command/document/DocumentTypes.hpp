#pragma once

#include <cstdint>

namespace PrinterCommandBuilder::Document {

enum class BlackMarkPosition : std::int32_t { Front = 0, Back = 1 };

// One choice of printable width of a model: the width in dots and the code the command carries.
struct PrintableAreaInfo {
    std::int32_t width = 0;
    std::uint8_t code = 0;
};

}  // namespace PrinterCommandBuilder::Document
