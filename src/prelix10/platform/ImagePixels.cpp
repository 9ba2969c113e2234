#include "prelix10/platform/ImagePixels.hpp"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace Prelix10 {

namespace {

std::optional<ImagePixels> decodePng(std::span<const std::uint8_t> data) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    const std::uint64_t bytes = std::uint64_t{image.width} * image.height * 4;
    if (image.width > static_cast<png_uint_32>(ImagePixels::kMaximumSurfaceWidth) ||
        bytes > ImagePixels::kMaximumSurfaceBytes) {
        png_image_free(&image);
        return std::nullopt;
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(bytes));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return ImagePixels(static_cast<int>(image.width), static_cast<int>(image.height), std::move(pixels));
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}

// Decodes into `pixels`; false on any decoder error. Kept free of objects with destructors between the
// setjmp and the decoder calls that may jump back to it.
bool decodeJpegInto(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& pixels, int& width,
                    int& height) {
    jpeg_decompress_struct info;
    JpegErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = jpegErrorExit;
    error.base.emit_message = jpegSilence;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const std::uint64_t bytes = std::uint64_t{info.output_width} * info.output_height * 4;
    if (info.output_components != 3 ||
        info.output_width > static_cast<JDIMENSION>(ImagePixels::kMaximumSurfaceWidth) ||
        bytes > ImagePixels::kMaximumSurfaceBytes) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    pixels.assign(static_cast<std::size_t>(bytes), 0);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        const std::size_t y = info.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
        std::uint8_t* out = pixels.data() + y * info.output_width * 4;
        for (std::size_t x = 0; x < info.output_width; ++x) {
            out[x * 4 + 0] = row[x * 3 + 0];
            out[x * 4 + 1] = row[x * 3 + 1];
            out[x * 4 + 2] = row[x * 3 + 2];
            out[x * 4 + 3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// For each target position, the source positions it covers with their share of the target pixel.
struct Coverage {
    std::vector<std::size_t> first;  // index into taps for each target position, plus one end entry
    std::vector<int> source;
    std::vector<float> weight;
};

Coverage coverage(int sourceSize, int targetSize) {
    Coverage result;
    result.first.reserve(static_cast<std::size_t>(targetSize) + 1);
    const double scale = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        result.first.push_back(result.source.size());
        const double begin = t * scale;
        const double end = (t + 1) * scale;
        int s = static_cast<int>(std::floor(begin));
        for (; s < sourceSize && s < end; ++s) {
            const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
            if (covered <= 0) continue;
            result.source.push_back(s);
            result.weight.push_back(static_cast<float>(covered / scale));
        }
        if (result.first.back() == result.source.size()) {
            result.source.push_back(std::clamp(static_cast<int>(begin), 0, sourceSize - 1));
            result.weight.push_back(1.0f);
        }
    }
    result.first.push_back(result.source.size());
    return result;
}

bool surfaceFits(int width, int height) {
    return width >= 1 && height >= 1 && width <= ImagePixels::kMaximumSurfaceWidth &&
           std::uint64_t(width) * std::uint64_t(height) * 4 <= ImagePixels::kMaximumSurfaceBytes;
}

std::uint8_t premultiply(std::uint8_t value, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((value * alpha + 127) / 255);
}

// True when every pixel of the packed RGBA bytes has full alpha; looked at in blocks, which the
// compiler turns into wide compares.
bool opaque(const std::uint8_t* pixels, std::size_t size) {
    constexpr std::size_t kBlock = 256;
    std::size_t i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        std::uint8_t all = 0xFF;
        for (std::size_t k = 3; k < kBlock; k += 4) all &= pixels[i + k];
        if (all != 0xFF) return false;
    }
    for (i += 3; i < size; i += 4)
        if (pixels[i] != 0xFF) return false;
    return true;
}

}  // namespace

ImagePixels::ImagePixels() : pixels_(std::make_shared<const std::vector<std::uint8_t>>()) {}

ImagePixels::ImagePixels(int width, int height, std::vector<std::uint8_t> rgba, bool premultiplied)
    : width_(width),
      height_(height),
      premultiplied_(premultiplied),
      pixels_(std::make_shared<const std::vector<std::uint8_t>>(std::move(rgba))) {}

ImagePixels::ImagePixels(Sharing, int width, int height,
                         std::shared_ptr<const std::vector<std::uint8_t>> pixels, bool premultiplied)
    : width_(width), height_(height), premultiplied_(premultiplied), pixels_(std::move(pixels)) {}

std::optional<ImagePixels> ImagePixels::fromRGBA(int width, int height, std::vector<std::uint8_t> rgba) {
    ImagePixels image(width, height, std::move(rgba));
    if (!image.hasPixelData()) return std::nullopt;
    return image;
}

bool ImagePixels::hasPixelData() const {
    return width_ >= 0 && height_ >= 0 && pixels_ &&
           pixels_->size() == std::uint64_t(width_) * std::uint64_t(height_) * 4;
}

std::span<const std::uint8_t> ImagePixels::rgba() const {
    return pixels_ ? std::span<const std::uint8_t>(*pixels_) : std::span<const std::uint8_t>();
}

std::optional<ImagePixels> ImagePixels::decode(std::span<const std::uint8_t> data) {
    static constexpr std::uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data.size() >= sizeof pngSignature &&
        std::equal(std::begin(pngSignature), std::end(pngSignature), data.begin())) {
        return decodePng(data);
    }
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        std::vector<std::uint8_t> pixels;
        int width = 0;
        int height = 0;
        if (!decodeJpegInto(data, pixels, width, height)) return std::nullopt;
        return ImagePixels(width, height, std::move(pixels));
    }
    return std::nullopt;
}

std::optional<ImagePixels> ImagePixels::loadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(data);
}

std::optional<ImagePixels> ImagePixels::drawnInto(int width, int height) const {
    if (!hasPixelData() || !surfaceFits(width, height)) return std::nullopt;
    if (width_ == 0 || height_ == 0)
        return ImagePixels(width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4, 0),
                           true);
    const std::uint8_t* src = pixels_->data();

    if (width == width_ && height == height_) {
        // Drawn in its own size the image keeps its pixels, premultiplied. Premultiplying keeps an
        // opaque pixel as it is, so an image already premultiplied or wholly opaque shares its
        // pixels, which never change.
        const std::size_t size = pixels_->size();
        if (premultiplied_ || opaque(src, size)) return ImagePixels(Sharing{}, width, height, pixels_, true);
        std::vector<std::uint8_t> out(src, src + size);
        for (std::size_t i = 0; i < size; i += 4) {
            const std::uint8_t a = src[i + 3];
            if (a == 255) continue;
            out[i + 0] = premultiply(src[i + 0], a);
            out[i + 1] = premultiply(src[i + 1], a);
            out[i + 2] = premultiply(src[i + 2], a);
        }
        return ImagePixels(width, height, std::move(out), true);
    }

    std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(height) * 4, 0);
    // Area averaging in premultiplied space, rows first into a float buffer, then columns.
    const Coverage columns = coverage(width_, width);
    const Coverage rows = coverage(height_, height);
    std::vector<float> horizontal(std::size_t(width) * std::size_t(height_) * 4, 0.0f);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* line = src + std::size_t(y) * width_ * 4;
        float* target = horizontal.data() + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = columns.first[x]; k < columns.first[x + 1]; ++k) {
                const std::uint8_t* p = line + std::size_t(columns.source[k]) * 4;
                const float w = columns.weight[k];
                const float alpha = p[3];
                const float factor = premultiplied_ ? 1.0f : alpha / 255.0f;
                acc[0] += w * p[0] * factor;
                acc[1] += w * p[1] * factor;
                acc[2] += w * p[2] * factor;
                acc[3] += w * alpha;
            }
            std::copy(acc, acc + 4, target + std::size_t(x) * 4);
        }
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* target = out.data() + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = rows.first[y]; k < rows.first[y + 1]; ++k) {
                const float* p = horizontal.data() + (std::size_t(rows.source[k]) * width + x) * 4;
                const float w = rows.weight[k];
                for (int c = 0; c < 4; ++c) acc[c] += w * p[c];
            }
            for (int c = 0; c < 4; ++c) {
                target[std::size_t(x) * 4 + c] =
                    static_cast<std::uint8_t>(std::clamp(std::lround(acc[c]), 0L, 255L));
            }
        }
    }
    return ImagePixels(width, height, std::move(out), true);
}

std::optional<ImagePixels> ImagePixels::widenedBy(int extraColumns) const {
    if (!hasPixelData() || extraColumns < 0 || width_ > kMaximumSurfaceWidth - extraColumns)
        return std::nullopt;
    const int width = width_ + extraColumns;
    if (!surfaceFits(width, height_)) return std::nullopt;
    std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(height_) * 4, 0);
    for (int y = 0; y < height_; ++y) {
        std::copy_n(pixels_->data() + std::size_t(y) * width_ * 4, std::size_t(width_) * 4,
                    out.data() + std::size_t(y) * width * 4);
    }
    return ImagePixels(width, height_, std::move(out), premultiplied_);
}

}  // namespace Prelix10
