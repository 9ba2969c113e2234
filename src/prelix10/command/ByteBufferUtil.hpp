#pragma once

#include <cstddef>

#include "prelix10/command/ByteBuffer.hpp"

namespace PrinterCommandBuilder {

class ByteBufferUtil {
  public:
    // Appends count copies of value.
    static void fill(ByteBuffer* buffer, char value, std::size_t count);
};

}  // namespace PrinterCommandBuilder
