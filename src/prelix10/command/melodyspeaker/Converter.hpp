#pragma once

#include <cstddef>

#include "prelix10/command/ByteBuffer.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

// Melody speaker messages as buzzer commands.
class Converter {
  public:
    static char getMelodySpeakerCommand(char level);
    static void savePrinterCommand(const char* message, std::size_t length, ByteBuffer* output);
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
