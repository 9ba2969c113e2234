#pragma once

#include <cstdint>

namespace PrinterCommandBuilder::Buzzer {

enum class BuzzerChannel : std::int32_t { No1 = 0, No2 = 1, No3 = 2, No4 = 3 };

}  // namespace PrinterCommandBuilder::Buzzer
