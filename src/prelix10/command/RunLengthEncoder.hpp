#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PrinterCommandBuilder::Printer {

// Run-length form of the mobile ESC/POS raster data. Each run starts with a header byte:
// 80 | n followed by n literal bytes, or C0 | n followed by one byte that stands for n copies
// (n from 1 to 62).
class RunLengthEncoder {
  public:
    static constexpr std::size_t maxRunLength = 62;

    // Appends the encoded form of `length` bytes at `data` to `out`.
    static void encode(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& out);

    // Every run header covers at least two bytes except a final single byte, so the encoded form
    // is never longer than this.
    static std::size_t maxEncodedSize(std::size_t length) { return length + length / 2 + 2; }
};

}  // namespace PrinterCommandBuilder::Printer
