#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <vector>

#include "prelix10/platform/ImagePixels.hpp"

namespace Prelix10::VelmarCommand {

// One pixel as read from an image, each component 0 to 255.
struct BitmapPixel {
    int a = 0;
    int r = 0;
    int g = 0;
    int b = 0;

    static const BitmapPixel& black();
    static const BitmapPixel& white();
    bool operator==(const BitmapPixel&) const = default;
};

// Turns an image of packed RGBA pixels into a 1-bit raster (a set bit is a black dot), by a fixed
// threshold or by error diffusion. Use once: construct, then threshold() or diffuse(), then toData().
class PRELIX10_EXPORT BitmapConverter {
  public:
    // Reads all pixels. Raises the unexpected-state error when the image holds no usable pixel data.
    explicit BitmapConverter(const ImagePixels& image);

    int width() const { return width_; }
    int height() const { return height_; }
    BitmapPixel pixel(int x, int y) const;

    // White when a / 255 x t x 3 <= r + g + b, black otherwise (a transparent pixel is always white).
    void threshold(int threshold);
    // Serpentine error diffusion on a brightened gray.
    void diffuse();
    // Rows of ceil(width / 8) bytes, leftmost pixel in the high bit.
    std::vector<std::uint8_t> toData() const;

  private:
    std::size_t bytesPerRow() const { return (std::size_t(width_) + 7) / 8; }

    int width_ = 0;
    int height_ = 0;
    ImagePixels image_;
    // Once converted, the packed raster toData() gives (a set bit is black); before conversion
    // every pixel is read from the image.
    std::vector<std::uint8_t> bits_;
    bool converted_ = false;
};

}  // namespace Prelix10::VelmarCommand
