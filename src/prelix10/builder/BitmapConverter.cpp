#include "prelix10/builder/BitmapConverter.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "prelix10/core/Log.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    if (converted_) {
        const std::uint8_t byte = bits_[std::size_t(y) * bytesPerRow() + std::size_t(x >> 3)];
        return byte & (0x80u >> (x & 7)) ? BitmapPixel::black() : BitmapPixel::white();
    }
    const std::size_t index = std::size_t(y) * std::size_t(width_) + std::size_t(x);
    const std::uint8_t* p = image_.rgba().data() + index * 4;
    return {p[3], p[0], p[1], p[2]};
}

namespace {

// Four pixels at once, as 32-bit words in memory order.
typedef std::uint32_t FourPixels __attribute__((vector_size(16)));

FourPixels loadFour(const std::uint8_t* p) {
    FourPixels v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The alpha byte of a pixel word, the fourth in memory whatever the byte order of the machine.
FourPixels alphaMaskOfWord() {
    std::uint32_t word = 0;
    const std::uint8_t bytes[4] = {0, 0, 0, 0xFF};
    std::memcpy(&word, bytes, sizeof word);
    return FourPixels{} + word;
}

// The colour channels of each pixel word added.
FourPixels channelSums(FourPixels v, FourPixels alphaMask) {
    const FourPixels colour = v & ~alphaMask;
    return (colour & 0xFF) + ((colour >> 8) & 0xFF) + ((colour >> 16) & 0xFF) + (colour >> 24);
}

#if defined(__SSE2__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// The bits of a byte in reverse order.
constexpr auto kReversed = [] {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            if (v & (1 << b)) r |= 0x80 >> b;
        table[std::size_t(v)] = static_cast<std::uint8_t>(r);
    }
    return table;
}();

// Sixteen pixels on a little-endian machine to two raster bytes when all are opaque; false, with
// nothing written, when one is not.
bool thresholdSixteenOpaque(const std::uint8_t* p, __m128i limit, std::uint8_t* out) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48));
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i all = _mm_and_si128(_mm_and_si128(a, b), _mm_and_si128(c, d));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(all, alpha), alpha)) != 0xFFFF) return false;
    const __m128i redBlue = _mm_set1_epi32(0x00FF00FF);
    const __m128i green = _mm_set1_epi32(0xFF);
    const __m128i ones = _mm_set1_epi16(1);
    // Red plus green in the low half of each word and blue in the high half, then the halves added.
    auto sums = [&](__m128i v) {
        const __m128i t =
            _mm_add_epi32(_mm_and_si128(v, redBlue), _mm_and_si128(_mm_srli_epi32(v, 8), green));
        return _mm_cmpgt_epi32(limit, _mm_madd_epi16(t, ones));
    };
    const __m128i marks =
        _mm_packs_epi16(_mm_packs_epi32(sums(a), sums(b)), _mm_packs_epi32(sums(c), sums(d)));
    const int bits = _mm_movemask_epi8(marks);
    out[0] = kReversed[std::size_t(bits & 0xFF)];
    out[1] = kReversed[std::size_t((bits >> 8) & 0xFF)];
    return true;
}
#endif

}  // namespace

void BitmapConverter::threshold(int threshold) {
    // The left side of the rule depends on alpha only: one value per alpha, computed as the rule states.
    // A whole sum reaches a limit exactly when it reaches the limit rounded up, so the compare is
    // made on integers.
    std::array<int, 256> lowestWhite{};
    for (int a = 0; a < 256; ++a) {
        const double rounded = std::ceil(a / 255.0 * threshold * 3.0);
        lowestWhite[a] = rounded > 1e6 ? 1000000 : rounded < -1e6 ? -1000000 : static_cast<int>(rounded);
    }
    const std::size_t stride = bytesPerRow();
    bits_.assign(stride * std::size_t(height_), 0);
    const std::uint8_t* p = image_.rgba().data();
    auto black = [&](const std::uint8_t* q) -> unsigned { return q[0] + q[1] + q[2] < lowestWhite[q[3]]; };
    // Eight opaque pixels are compared with the one limit of full alpha, all at once. A limit
    // below zero makes every pixel white and one above the largest sum every pixel black.
    const FourPixels alphaMask = alphaMaskOfWord();
    const std::uint32_t opaqueLimit = static_cast<std::uint32_t>(std::clamp(lowestWhite[255], 0, 766));
#if defined(__SSE2__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    const __m128i sseLimit = _mm_set1_epi32(static_cast<int>(opaqueLimit));
#endif
    const FourPixels high = {0x80, 0x40, 0x20, 0x10};
    const FourPixels low = {0x08, 0x04, 0x02, 0x01};
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = bits_.data() + std::size_t(y) * stride;
        int x = 0;
        for (; x + 8 <= width_; x += 8, p += 32) {
#if defined(__SSE2__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            if (x + 16 <= width_ && thresholdSixteenOpaque(p, sseLimit, row + (x >> 3))) {
                x += 8;
                p += 32;
                continue;
            }
#endif
            const FourPixels left = loadFour(p);
            const FourPixels right = loadFour(p + 16);
            const FourPixels alphas = left & right & alphaMask;
            if ((alphas[0] & alphas[1] & alphas[2] & alphas[3]) == alphaMask[0]) {
                const FourPixels marks =
                    (__builtin_convertvector(channelSums(left, alphaMask) < opaqueLimit, FourPixels) & high) |
                    (__builtin_convertvector(channelSums(right, alphaMask) < opaqueLimit, FourPixels) & low);
                row[x >> 3] = static_cast<std::uint8_t>(marks[0] | marks[1] | marks[2] | marks[3]);
                continue;
            }
            row[x >> 3] = static_cast<std::uint8_t>(black(p) << 7 | black(p + 4) << 6 | black(p + 8) << 5 |
                                                    black(p + 12) << 4 | black(p + 16) << 3 |
                                                    black(p + 20) << 2 | black(p + 24) << 1 | black(p + 28));
        }
        for (; x < width_; ++x, p += 4)
            if (black(p)) row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
    }
    converted_ = true;
}

void BitmapConverter::diffuse() {
    const std::size_t stride = bytesPerRow();
    bits_.assign(stride * std::size_t(height_), 0);
    if (width_ == 0 || height_ == 0) {
        converted_ = true;
        return;
    }
    const std::size_t w = std::size_t(width_);
    // The error of the row being walked and of the row below, each with one spare cell at both ends
    // for the shares that fall outside the picture: cell x + 1 holds column x. The shares for the
    // row below the last one are never read.
    std::vector<int> rows(2 * (w + 2), 0);
    int* current = rows.data();
    int* below = rows.data() + w + 2;
    // The grey of each channel sum, computed once by the rule's own arithmetic; a transparent
    // pixel is white.
    std::array<int, 766> grayOfSum{};
    for (int sum = 0; sum < 766; ++sum) {
        int gray = static_cast<int>(std::trunc(sum / 3.0 * 1.5));
        if (gray > 254) gray = 255;
        grayOfSum[std::size_t(sum)] = gray;
    }
    // The share of a pixel's error that goes to the next pixel, by the error before the dot is
    // taken off: a load on the chain from pixel to pixel in place of a compare, a multiply and a
    // shift. The error left after a pixel is below 255, so the next one gets at most 9/16 of it
    // from the row above, 7/16 from its left and 255 of its own: below 510.
    std::array<int, 512> aheadOf{};
    for (int sum = 0; sum < 512; ++sum) aheadOf[std::size_t(sum)] = ((sum >= 255 ? sum - 255 : sum) * 7) >> 4;
    const std::uint8_t* pixels = image_.rgba().data();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* line = pixels + std::size_t(y) * w * 4;
        std::uint8_t* out = bits_.data() + std::size_t(y) * stride;
        // The error never goes below zero, so sixteenths truncate as shifts do. The shares stay in
        // registers until their cell has all of them: `ahead` for the next pixel of the row,
        // `next` and `later` for the cell below this pixel and the one below the next pixel. The
        // cell below the previous pixel is complete once this pixel's share is added.
        // A pixel's own part of its error, the error from the row above and its lack of brightness,
        // is taken one pixel ahead, so the chain from pixel to pixel is one add and one load.
        auto own = [&](std::size_t x) -> std::ptrdiff_t {
            const std::uint8_t* p = line + x * 4;
            return current[x + 1] + 255 - (p[3] != 0 ? grayOfSum[std::size_t(p[0] + p[1] + p[2])] : 255);
        };
        std::ptrdiff_t ahead = 0;
        int next = 0;
        int later = 0;
        unsigned byte = 0;
        if (y % 2 == 0) {
            std::ptrdiff_t mine = own(0);
            for (std::size_t x = 0; x < w; ++x) {
                const std::ptrdiff_t sum = mine + ahead;
                ahead = aheadOf[std::size_t(sum)];
                if (x + 1 < w) mine = own(x + 1);
                const bool black = sum >= 255;
                const int e = static_cast<int>(black ? sum - 255 : sum);
                byte = byte << 1 | unsigned(black);
                if ((x & 7) == 7) {
                    out[x >> 3] = static_cast<std::uint8_t>(byte);
                    byte = 0;
                }
                below[x] = next + ((e * 3) >> 4);
                next = later + ((e * 5) >> 4);
                later = e >> 4;
            }
            if (w % 8 != 0) out[(w - 1) >> 3] = static_cast<std::uint8_t>(byte << (8 - w % 8));
            below[w] = next;
        } else {
            std::ptrdiff_t mine = own(w - 1);
            for (std::size_t x = w; x-- > 0;) {
                const std::ptrdiff_t sum = mine + ahead;
                ahead = aheadOf[std::size_t(sum)];
                if (x > 0) mine = own(x - 1);
                const bool black = sum >= 255;
                const int e = static_cast<int>(black ? sum - 255 : sum);
                byte = byte >> 1 | unsigned(black) << 7;
                if ((x & 7) == 0) {
                    out[x >> 3] = static_cast<std::uint8_t>(byte);
                    byte = 0;
                }
                below[x + 2] = next + ((e * 3) >> 4);
                next = later + ((e * 5) >> 4);
                later = e >> 4;
            }
            below[1] = next;
        }
        std::swap(current, below);
    }
    converted_ = true;
}

std::vector<std::uint8_t> BitmapConverter::toData() const {
    if (converted_) return bits_;
    const std::size_t stride = bytesPerRow();
    std::vector<std::uint8_t> out(stride * std::size_t(height_), 0);
    const std::uint8_t* p = image_.rgba().data();
    // Unconverted, only an opaque black pixel is a dot.
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = out.data() + std::size_t(y) * stride;
        for (int x = 0; x < width_; ++x, p += 4) {
            if (p[3] == 255 && p[0] == 0 && p[1] == 0 && p[2] == 0)
                row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
        }
    }
    return out;
}

}  // namespace Prelix10::VelmarCommand
