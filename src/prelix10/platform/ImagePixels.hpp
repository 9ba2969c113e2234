#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Prelix10 {

// An image as packed 8-bit RGBA pixels, rows top first, no padding between rows. Colour values are
// straight (not multiplied by alpha) unless `premultiplied()` says otherwise. Copies share the pixel
// buffer, so handing an image around is cheap; an image never changes after it is made.
class PRELIX10_EXPORT ImagePixels {
  public:
    // An empty 0 x 0 image.
    ImagePixels();
    // Takes the bytes as they are; `hasPixelData()` tells whether they cover width x height pixels.
    ImagePixels(int width, int height, std::vector<std::uint8_t> rgba, bool premultiplied = false);

    // Checked construction: nothing when the sizes are negative or the bytes are not width x height x 4.
    static std::optional<ImagePixels> fromRGBA(int width, int height, std::vector<std::uint8_t> rgba);
    // PNG or JPEG, told apart by their signatures; nothing when the data cannot be decoded.
    static std::optional<ImagePixels> decode(std::span<const std::uint8_t> data);
    static std::optional<ImagePixels> loadFile(const std::string& path);

    int width() const { return width_; }
    int height() const { return height_; }
    bool premultiplied() const { return premultiplied_; }
    // True when the sizes are not negative and the buffer holds exactly width x height x 4 bytes.
    bool hasPixelData() const;
    std::span<const std::uint8_t> rgba() const;

    // The image drawn into a width x height surface that starts fully transparent, stretched to fill it
    // (area averaging), with colours multiplied by alpha as an off-screen drawing surface keeps them.
    // Nothing when a size is below 1, the surface would be too large or this image has no pixel data.
    std::optional<ImagePixels> drawnInto(int width, int height) const;
    // The image drawn at (0, 0) in its own size on a surface `extraColumns` wider; the added columns are
    // fully transparent.
    std::optional<ImagePixels> widenedBy(int extraColumns) const;

    // Surfaces are limited to this width and to this many bytes.
    static constexpr int kMaximumSurfaceWidth = 65535;
    static constexpr std::uint64_t kMaximumSurfaceBytes = 256ull * 1024 * 1024;

  private:
    struct Sharing {};
    // Shares the pixel buffer of another image.
    ImagePixels(Sharing, int width, int height, std::shared_ptr<const std::vector<std::uint8_t>> pixels,
                bool premultiplied);

    int width_ = 0;
    int height_ = 0;
    bool premultiplied_ = false;
    std::shared_ptr<const std::vector<std::uint8_t>> pixels_;
};

}  // namespace Prelix10
