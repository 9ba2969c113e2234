#include "prelix10/command/RasterCommands.hpp"

#include <algorithm>
#include <string>

namespace PrinterCommandBuilder::Printer {

void RasterCommands::appendDotFeed(std::vector<std::uint8_t>& out, std::uint8_t command, std::uint64_t dots) {
    while (dots > 0) {
        const auto n = static_cast<std::uint8_t>(std::min<std::uint64_t>(dots, 255));
        out.insert(out.end(), {0x1B, command, n});
        dots -= n;
    }
}

void RasterCommands::appendRasterFeed(std::vector<std::uint8_t>& out, std::uint64_t dots) {
    while (dots > 0) {
        const std::uint64_t n = std::min(dots, maxRasterFeedDots);
        const std::string digits = std::to_string(n);
        out.insert(out.end(), {0x1B, 0x2A, 0x72, 0x59});
        out.insert(out.end(), digits.begin(), digits.end());
        out.insert(out.end(), 9 - 4 - digits.size(), 0x00);
        dots -= n;
    }
}

std::vector<std::uint8_t> RasterCommands::lineRow(int x, int width) {
    x = std::max(x, 0);
    width = std::max(width, 0);
    const std::int64_t end = static_cast<std::int64_t>(x) + width;
    std::vector<std::uint8_t> row(static_cast<std::size_t>((end + 7) / 8), 0);
    for (std::int64_t dot = x; dot < end; ++dot) {
        row[static_cast<std::size_t>(dot / 8)] |= static_cast<std::uint8_t>(0x80 >> (dot % 8));
    }
    return row;
}

void RasterCommands::appendDotImpactPicture(std::vector<std::uint8_t>& out, const std::uint8_t* source,
                                            std::size_t sourceLength, std::int64_t width, std::int64_t height,
                                            bool lineFeedFirst) {
    if (width < 1 || height < 1) {
        return;
    }
    const std::uint64_t byteWidth = (static_cast<std::uint64_t>(width) + 7) / 8;
    const std::uint64_t columns = std::min<std::uint64_t>(byteWidth, 31);
    const auto n = static_cast<std::uint8_t>(columns * 8);
    const std::uint64_t bands = (static_cast<std::uint64_t>(height) + 7) / 8;
    auto byteAt = [&](std::uint64_t row, std::uint64_t column) -> std::uint8_t {
        if (row >= static_cast<std::uint64_t>(height)) {
            return 0;
        }
        const std::uint64_t index = row * byteWidth + column;
        return index < sourceLength ? source[index] : 0;
    };
    for (std::uint64_t band = 0; band < bands; ++band) {
        if (band == 0 && lineFeedFirst) {
            out.push_back(0x0A);
        }
        out.insert(out.end(), {0x1B, 0x4B, n, 0x00});
        for (std::uint64_t column = 0; column < columns; ++column) {
            std::uint8_t rows[8];
            for (int r = 0; r < 8; ++r) {
                rows[r] = byteAt(band * 8 + r, column);
            }
            for (int bit = 7; bit >= 0; --bit) {
                std::uint8_t dots = 0;
                for (int r = 0; r < 8; ++r) {
                    if (rows[r] & (1u << bit)) {
                        dots |= static_cast<std::uint8_t>(0x80 >> r);
                    }
                }
                out.push_back(dots);
            }
        }
        out.insert(out.end(), {0x1B, 0x4A, 0x08});
    }
}

void RasterCommands::appendDotImpactLine(std::vector<std::uint8_t>& out, int x, int width, int rows) {
    x = std::max(x, 0);
    width = std::max(width, 0);
    const auto n =
        static_cast<std::uint8_t>(std::min<std::int64_t>(static_cast<std::int64_t>(x) + width, 255));
    while (rows > 0) {
        const int pass = std::min(rows, 8);
        const auto dots = static_cast<std::uint8_t>(0xFF << (8 - pass));
        out.insert(out.end(), {0x1B, 0x4B, n, 0x00});
        for (int column = 0; column < n; ++column) {
            out.push_back(column >= x ? dots : 0x00);
        }
        out.insert(out.end(), {0x1B, 0x4A, static_cast<std::uint8_t>(pass)});
        rows -= pass;
    }
}

}  // namespace PrinterCommandBuilder::Printer
