#pragma once

#include <cstddef>

#include "prelix10/command/ByteBuffer.hpp"

namespace PrinterCommandBuilder::Display {

// Wraps display bytes in the printer's pass-through envelopes (at most 1024 bytes each).
class Converter {
  public:
    static void savePrinterCommand(const char* data, std::size_t length, ByteBuffer* output);
    static void savePrinterCommand(ByteBuffer* data, ByteBuffer* output);
};

}  // namespace PrinterCommandBuilder::Display
