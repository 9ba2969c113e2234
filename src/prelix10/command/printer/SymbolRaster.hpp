#pragma once

#include <cstdint>

#include "prelix10/command/ByteBuffer.hpp"

namespace PrinterCommandBuilder::Printer {

// Sends a module pattern (rows of bits, most significant bit leftmost, set = dark) as raster rows
// for printers that only print raster rows: every module becomes scale x scale dots, and every dot
// row goes out as 62 nL nH with n = its width in dots, then n bytes of which the first ceil(n / 8)
// carry the row and the rest are 00.
class SymbolRaster {
  public:
    static void appendRows(ByteBuffer* buffer, const std::uint8_t* pattern, int rowBytes, int rows, int width,
                           int scale);
};

}  // namespace PrinterCommandBuilder::Printer
