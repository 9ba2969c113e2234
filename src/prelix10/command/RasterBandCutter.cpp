#include "prelix10/command/RasterBandCutter.hpp"

#include <algorithm>
#include <cstring>

namespace PrinterCommandBuilder::Printer {

std::vector<std::uint8_t> RasterBandCutter::workingRaster(const std::uint8_t* source,
                                                          std::size_t sourceLength, std::size_t byteWidth,
                                                          std::size_t rowWidth, std::size_t height) {
    std::vector<std::uint8_t> raster(rowWidth * height, 0);
    if (rowWidth == 0 || byteWidth == 0) {
        return raster;
    }
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t start = row * byteWidth;
        if (start >= sourceLength) {
            break;
        }
        const std::size_t take = std::min(rowWidth, sourceLength - start);
        std::memcpy(raster.data() + row * rowWidth, source + start, take);
    }
    return raster;
}

int RasterBandCutter::usedWidth(const std::uint8_t* row, long remaining, int rowWidth) {
    if (remaining < 1 || rowWidth < 1) {
        return 0;
    }
    const long limit = std::min<long>(rowWidth, remaining);
    for (long i = limit; i > 0; --i) {
        if (row[i - 1] != 0) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void RasterBandCutter::cut(const std::uint8_t* raster, int rowWidth, int height, bool leftAligned,
                           int leftBandRows, int alignedBandRows, RasterBandSink& sink) {
    if (rowWidth < 1 || height < 1) {
        return;
    }
    const auto stride = static_cast<std::size_t>(rowWidth);
    const long total = static_cast<long>(stride * static_cast<std::size_t>(height));
    auto rowAt = [&](int r) { return raster + static_cast<std::size_t>(r) * stride; };

    if (!leftAligned) {
        const int rows = std::max(alignedBandRows, 1);
        for (int r = 0; r < height; r += rows) {
            sink.band(rowAt(r), rowWidth, rowWidth, std::min(rows, height - r));
        }
        return;
    }

    const int bandLimit = std::max(leftBandRows, 1);
    int bandStart = 0;
    int bandRows = 0;
    int bandWidth = 0;
    auto flush = [&] {
        if (bandRows > 0) {
            sink.band(rowAt(bandStart), bandWidth, rowWidth, bandRows);
        }
        bandRows = 0;
        bandWidth = 0;
    };
    int r = 0;
    while (r < height) {
        const long remaining = total - static_cast<long>(static_cast<std::size_t>(r) * stride);
        const int used = usedWidth(rowAt(r), remaining, rowWidth);
        if (used > 0) {
            if (bandRows == 0) {
                bandStart = r;
            }
            ++bandRows;
            bandWidth = std::max(bandWidth, used);
            if (bandRows == bandLimit) {
                flush();
            }
            ++r;
            continue;
        }
        flush();
        int blank = 1;
        while (r + blank < height &&
               usedWidth(rowAt(r + blank),
                         total - static_cast<long>(static_cast<std::size_t>(r + blank) * stride),
                         rowWidth) == 0) {
            ++blank;
        }
        sink.feed(static_cast<std::size_t>(blank));
        r += blank;
    }
    flush();
}

}  // namespace PrinterCommandBuilder::Printer
