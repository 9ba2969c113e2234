#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PrinterCommandBuilder::Printer {

// Byte sequences shared by the picture and ruled-line commands: paper feeds counted in dots,
// horizontal line rows, and the dot-impact printers' 8-dot column bands.
class RasterCommands {
  public:
    // Feeds of this many dots or fewer go out as one raster-mode feed command.
    static constexpr std::uint64_t maxRasterFeedDots = 2400;

    // `1B <command> n` repeated until `dots` are fed, n at most 255 (1B 49 page printers,
    // 1B 4A ESC/POS).
    static void appendDotFeed(std::vector<std::uint8_t>& out, std::uint8_t command, std::uint64_t dots);

    // Raster-mode feed `1B 2A 72 59`, the count in ASCII digits, zero bytes up to 9 bytes; long
    // feeds are split so that every count fits with its terminating zero.
    static void appendRasterFeed(std::vector<std::uint8_t>& out, std::uint64_t dots);

    // One row of a horizontal line: dots x to x + width - 1 black, ceil((x + width) / 8) bytes.
    static std::vector<std::uint8_t> lineRow(int x, int width);

    // A picture as dot-impact `1B 4B` bands of 8 rows, 248 dots wide at most, each followed by a
    // feed of 8 dots. Rows and bytes that `source` lacks are white; only the printed part of each
    // row is read, so the width may be very large.
    static void appendDotImpactPicture(std::vector<std::uint8_t>& out, const std::uint8_t* source,
                                       std::size_t sourceLength, std::int64_t width, std::int64_t height,
                                       bool lineFeedFirst);

    // A horizontal line on the dot-impact printers: passes of up to 8 dot rows from column x,
    // `width` columns, `rows` rows in all.
    static void appendDotImpactLine(std::vector<std::uint8_t>& out, int x, int width, int rows);
};

}  // namespace PrinterCommandBuilder::Printer
