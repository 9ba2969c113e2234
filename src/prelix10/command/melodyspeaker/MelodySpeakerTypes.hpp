#pragma once

#include <cstdint>

namespace PrinterCommandBuilder::MelodySpeaker {

enum class Area : std::int32_t { Area1 = 0, Area2 = 1 };

}  // namespace PrinterCommandBuilder::MelodySpeaker
