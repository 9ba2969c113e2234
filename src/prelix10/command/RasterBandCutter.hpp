#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PrinterCommandBuilder::Printer {

// Receives the pieces of a one-bit raster cut into bands.
class RasterBandSink {
  public:
    virtual ~RasterBandSink() = default;
    // A run of blank rows to skip.
    virtual void feed(std::size_t rows) = 0;
    // `rows` rows of `width` bytes each; consecutive rows lie `stride` bytes apart.
    virtual void band(const std::uint8_t* data, int width, int stride, int rows) = 0;
};

// Cuts a one-bit raster (rows of `rowWidth` bytes, most significant bit leftmost) into the bands
// that the printers' raster commands carry.
class RasterBandCutter {
  public:
    // Copies the first `rowWidth` bytes of each of `height` source rows of `byteWidth` bytes into a
    // packed raster; bytes that the source lacks read as white.
    static std::vector<std::uint8_t> workingRaster(const std::uint8_t* source, std::size_t sourceLength,
                                                   std::size_t byteWidth, std::size_t rowWidth,
                                                   std::size_t height);

    // Index of the row's last non-zero byte plus one, looking at no more than `remaining` bytes;
    // 0 for a blank row.
    static int usedWidth(const std::uint8_t* row, long remaining, int rowWidth);

    // Left-aligned pictures are cut into bands of at most `leftBandRows` rows, each trimmed on the
    // right to its widest row, and runs of blank rows become feeds. Other pictures go out whole, in
    // bands of `alignedBandRows` rows at full width, so that the printer can align them.
    static void cut(const std::uint8_t* raster, int rowWidth, int height, bool leftAligned, int leftBandRows,
                    int alignedBandRows, RasterBandSink& sink);
};

}  // namespace PrinterCommandBuilder::Printer
