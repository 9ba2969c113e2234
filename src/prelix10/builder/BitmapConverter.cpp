#include "prelix10/builder/BitmapConverter.hpp"

#include <array>
#include <cmath>

#include "prelix10/core/Log.hpp"

namespace Prelix10::VelmarCommand {

const BitmapPixel& BitmapPixel::black() {
    static const BitmapPixel pixel{255, 0, 0, 0};
    return pixel;
}

const BitmapPixel& BitmapPixel::white() {
    static const BitmapPixel pixel{255, 255, 255, 255};
    return pixel;
}

BitmapConverter::BitmapConverter(const ImagePixels& image) {
    if (!image.hasPixelData()) {
        raiseError(
            Log(static_cast<const void*>(this), "BitmapConverter", "init(_:)", 25),
            Prelix10Error(Prelix10ErrorKind::unknown, makeUnexpectedStateMessage("BitmapConverter", 24)));
    }
    width_ = image.width();
    height_ = image.height();
    image_ = image;
}

BitmapPixel BitmapConverter::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const std::size_t index = std::size_t(y) * std::size_t(width_) + std::size_t(x);
    if (converted_) return black_[index] ? BitmapPixel::black() : BitmapPixel::white();
    const std::uint8_t* p = image_.rgba().data() + index * 4;
    return {p[3], p[0], p[1], p[2]};
}

void BitmapConverter::threshold(int threshold) {
    // The left side of the rule depends on alpha only: one value per alpha, computed as the rule states.
    // A whole sum reaches a limit exactly when it reaches the limit rounded up, so the compare is
    // made on integers.
    std::array<double, 256> limit{};
    for (int a = 0; a < 256; ++a) limit[a] = a / 255.0 * threshold * 3.0;
    std::array<int, 256> lowestWhite{};
    for (int a = 0; a < 256; ++a) {
        const double rounded = std::ceil(limit[a]);
        lowestWhite[a] = rounded > 1e6 ? 1000000 : rounded < -1e6 ? -1000000 : static_cast<int>(rounded);
    }
    const std::uint8_t* p = image_.rgba().data();
    const std::size_t count = std::size_t(width_) * std::size_t(height_);
    black_.resize(count);
    std::uint8_t* marks = black_.data();
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        const int sum = p[0] + p[1] + p[2];
        marks[i] = sum < lowestWhite[p[3]] ? 1 : 0;
    }
    converted_ = true;
}

void BitmapConverter::diffuse() {
    const std::size_t w = std::size_t(width_);
    const std::size_t count = w * std::size_t(height_);
    std::vector<int> error(count, 0);
    black_.assign(count, 0);
    const std::uint8_t* pixels = image_.rgba().data();
    // The grey of each channel sum, computed once by the rule's own arithmetic.
    std::array<int, 766> grayOfSum{};
    for (int sum = 0; sum < 766; ++sum) {
        int gray = static_cast<int>(std::trunc(sum / 3.0 * 1.5));
        if (gray > 254) gray = 255;
        grayOfSum[std::size_t(sum)] = gray;
    }
    for (int y = 0; y < height_; ++y) {
        const bool even = y % 2 == 0;
        const bool lastRow = y == height_ - 1;
        for (int step = 0; step < width_; ++step) {
            const int x = even ? step : width_ - 1 - step;
            const std::size_t i = std::size_t(y) * w + std::size_t(x);
            const std::uint8_t* p = pixels + i * 4;
            const int gray = p[3] != 0 ? grayOfSum[std::size_t(p[0] + p[1] + p[2])] : 255;
            int& e = error[i];
            e += 255 - gray;
            if (e >= 255) {
                black_[i] = 1;
                e -= 255;
            }
            // The error never goes below zero, so sixteenths truncate as integer division does.
            const int s7 = e * 7 / 16;
            const int s5 = e * 5 / 16;
            const int s3 = e * 3 / 16;
            const int s1 = e / 16;
            const std::size_t below = i + w;
            if (even) {
                if (x < width_ - 1) error[i + 1] += s7;
                if (!lastRow) {
                    error[below] += s5;
                    if (x > 0) error[below - 1] += s3;
                    if (x < width_ - 1) error[below + 1] += s1;
                }
            } else {
                if (x > 0) error[i - 1] += s7;
                if (!lastRow) {
                    error[below] += s5;
                    if (x < width_ - 1) error[below + 1] += s3;
                    if (x > 0) error[below - 1] += s1;
                }
            }
        }
    }
    converted_ = true;
}

std::vector<std::uint8_t> BitmapConverter::toData() const {
    const std::size_t bytesPerRow = (std::size_t(width_) + 7) / 8;
    std::vector<std::uint8_t> out(bytesPerRow * std::size_t(height_), 0);
    const std::uint8_t* p = image_.rgba().data();
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = out.data() + std::size_t(y) * bytesPerRow;
        const std::size_t base = std::size_t(y) * std::size_t(width_);
        if (converted_) {
            const std::uint8_t* marks = black_.data() + base;
            int x = 0;
            for (; x + 8 <= width_; x += 8, marks += 8) {
                row[x >> 3] = static_cast<std::uint8_t>(marks[0] << 7 | marks[1] << 6 | marks[2] << 5 |
                                                        marks[3] << 4 | marks[4] << 3 | marks[5] << 2 |
                                                        marks[6] << 1 | marks[7]);
            }
            for (; x < width_; ++x, ++marks)
                if (*marks) row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
            continue;
        }
        for (int x = 0; x < width_; ++x) {
            bool black;
            {
                const std::uint8_t* q = p + (base + std::size_t(x)) * 4;
                black = q[3] == 255 && q[0] == 0 && q[1] == 0 && q[2] == 0;
            }
            if (black) row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
        }
    }
    return out;
}

}  // namespace Prelix10::VelmarCommand
