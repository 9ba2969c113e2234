#include "prelix10/command/display/Image.hpp"

#include <array>
#include <cstdint>
#include <vector>

#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

namespace {

constexpr int kDisplayWidth = 160;
constexpr int kDisplayHeight = 40;
constexpr int kDisplayRowBytes = kDisplayWidth / 8;
constexpr int kPictureBytes = kDisplayRowBytes * kDisplayHeight;

}  // namespace

// The picture is a one-bit raster (rows top first, ceil(width / 8) bytes a row, most significant
// bit leftmost). Only a shape that fits the 160 x 40 display is taken; a smaller one is placed at
// the top left and the rest stays blank. The display wants the dots by columns: 20 groups of 8
// columns, each column as 5 bytes from the top, the top dot in the most significant bit.
void Image::orvoCommon(ByteBuffer* buffer, const std::string& source, int width, int height) {
    if (buffer == nullptr) return;
    if (width < 1 || width > kDisplayWidth || height < 1 || height > kDisplayHeight) return;
    const int rowBytes = (width + 7) / 8;
    std::vector<std::uint8_t> picture;
    VelmarCommandParser::StrUtil::decodeBase64(source, picture);
    if (picture.size() != static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height)) return;

    std::array<std::uint8_t, 2 + kPictureBytes> display{};
    display[0] = 0x1B;
    display[1] = 0x20;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t source8 = picture[static_cast<std::size_t>(y) * rowBytes + x / 8];
            if ((source8 & (0x80 >> (x % 8))) == 0) continue;
            const int group = x / 8;
            const int column = x % 8;
            const int index = group * 40 + column * 5 + y / 8;
            display[2 + index] |= static_cast<std::uint8_t>(0x80 >> (y % 8));
        }
    }
    Converter::savePrinterCommand(reinterpret_cast<const char*>(display.data()), display.size(), buffer);
}

void Image::kestrin(ByteBuffer* buffer, const std::string& source, int width, int height) {
    orvoCommon(buffer, source, width, height);
}

void Image::orvoGraphic(ByteBuffer* buffer, const std::string& source, int width, int height) {
    orvoCommon(buffer, source, width, height);
}

// The other emulations drive no customer display.
void Image::orvoLine(ByteBuffer*, const std::string&, int, int) {}

void Image::orvoDotImpact(ByteBuffer*, const std::string&, int, int) {}

void Image::orvoYalme1(ByteBuffer*, const std::string&, int, int) {}

void Image::escpos(ByteBuffer*, const std::string&, int, int) {}

void Image::escposMobile(ByteBuffer*, const std::string&, int, int) {}

}  // namespace PrinterCommandBuilder::Display
