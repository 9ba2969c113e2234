#include "prelix10/command/printer/SymbolRaster.hpp"

#include <vector>

namespace PrinterCommandBuilder::Printer {

void SymbolRaster::appendRows(ByteBuffer* buffer, const std::uint8_t* pattern, int rowBytes, int rows, int width,
                              int scale) {
    if (buffer == nullptr || pattern == nullptr || rows <= 0 || width <= 0 || scale <= 0) return;
    const long dots = static_cast<long>(width) * scale;
    if (dots > 0xFFFF || width > rowBytes * 8) return;
    const std::size_t n = static_cast<std::size_t>(dots);
    std::vector<std::uint8_t> line(3 + n, 0);
    line[0] = 0x62;
    line[1] = static_cast<std::uint8_t>(n & 0xFF);
    line[2] = static_cast<std::uint8_t>(n >> 8);
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* source = pattern + static_cast<std::size_t>(r) * static_cast<std::size_t>(rowBytes);
        std::fill(line.begin() + 3, line.end(), 0);
        for (int c = 0; c < width; ++c) {
            if (((source[c >> 3] >> (7 - (c & 7))) & 1) == 0) continue;
            for (int k = 0; k < scale; ++k) {
                const std::size_t dot = static_cast<std::size_t>(c) * static_cast<std::size_t>(scale) + k;
                line[3 + dot / 8] |= static_cast<std::uint8_t>(0x80 >> (dot % 8));
            }
        }
        for (int k = 0; k < scale; ++k) buffer->add(line.data(), line.size());
    }
}

}  // namespace PrinterCommandBuilder::Printer
