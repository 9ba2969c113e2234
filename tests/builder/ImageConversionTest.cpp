#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "builder/TestJson.hpp"
#include "prelix10/builder/Base64.hpp"
#include "prelix10/builder/BitmapConverter.hpp"
#include "prelix10/builder/DisplayBuilder.hpp"
#include "prelix10/builder/PageModeBuilder.hpp"
#include "prelix10/builder/PrinterBaseBuilder.hpp"
#include "prelix10/builder/PrinterBuilder.hpp"
#include "prelix10/core/Prelix10Error.hpp"

using namespace Prelix10;
using namespace Prelix10::VelmarCommand;

namespace {

ImagePixels solid(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                  std::uint8_t a = 255) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(width) * height * 4);
    for (int i = 0; i < width * height; ++i) rgba.insert(rgba.end(), {r, g, b, a});
    return *ImagePixels::fromRGBA(width, height, std::move(rgba));
}

ImagePixels row(const std::vector<std::array<std::uint8_t, 4>>& pixels) {
    std::vector<std::uint8_t> rgba;
    for (const auto& p : pixels) rgba.insert(rgba.end(), p.begin(), p.end());
    return *ImagePixels::fromRGBA(static_cast<int>(pixels.size()), 1, std::move(rgba));
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buffer[3];
    for (auto b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", b);
        out += buffer;
    }
    return out;
}

std::vector<std::uint8_t> thresholded(const ImagePixels& image, int t) {
    BitmapConverter converter(image);
    converter.threshold(t);
    return converter.toData();
}

}  // namespace

TEST(BitmapConverterTest, ThresholdRule) {
    // 381 (mean 127) is white at 127, 380 black; a transparent pixel is white whatever its colour; a
    // premultiplied half-transparent black pixel is black.
    const ImagePixels image = row({{127, 127, 127, 255},
                                   {127, 127, 126, 255},
                                   {0, 0, 0, 0},
                                   {0, 0, 0, 128},
                                   {255, 255, 255, 255},
                                   {0, 0, 0, 255},
                                   {200, 10, 10, 255},
                                   {100, 100, 100, 255},
                                   {0, 0, 0, 255}});
    EXPECT_EQ(hex(thresholded(image, 127)), "5780");  // width 9: two bytes, bits 6..0 of the second clear
    EXPECT_EQ(hex(thresholded(image, 0)), "0000");
    EXPECT_EQ(hex(thresholded(image, 256)), "DF80");
}

TEST(BitmapConverterTest, PackingWithoutConversionAndOnePixelWide) {
    // Unconverted: only exact opaque black packs as a dot.
    const ImagePixels image = row({{0, 0, 0, 255}, {1, 0, 0, 255}, {0, 0, 0, 254}});
    EXPECT_EQ(hex(BitmapConverter(image).toData()), "80");
    std::vector<std::uint8_t> column{0, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255};
    EXPECT_EQ(hex(thresholded(*ImagePixels::fromRGBA(1, 3, column), 127)), "800080");
    EXPECT_TRUE(thresholded(*ImagePixels::fromRGBA(5, 0, {}), 127).empty());
    EXPECT_EQ(hex(thresholded(*ImagePixels::fromRGBA(0, 2, {}), 127)), "");
}

TEST(BitmapConverterTest, ErrorDiffusion) {
    // Gray 40 brightens to 60: errors 195, 280 (black, 25), 205, 284 (black).
    EXPECT_EQ(hex([] {
                  BitmapConverter c(solid(4, 1, 40, 40, 40));
                  c.diffuse();
                  return c.toData();
              }()),
              "50");
    // Mean 170 and above counts as white; transparent is white; black stays black.
    BitmapConverter bright(row({{170, 170, 170, 255}, {0, 0, 0, 0}, {0, 0, 0, 255}}));
    bright.diffuse();
    EXPECT_EQ(hex(bright.toData()), "20");
    // Odd rows run right to left: the share of the right-most pixel of row 1 reaches its left neighbour.
    BitmapConverter two(solid(2, 2, 85, 85, 85));
    two.diffuse();
    // Row 0: e 128 white, right gets 56 -> 184 white. Below: (0,1) +s5(128)=40, +s3(184)=34 -> 74;
    // (1,1) +s1(128)=8 +s5(184)=57 -> 65. Row 1 from the right: 65+128=193 white, left +trunc(12.0625*7)=84
    // -> 74+84+128=286 black.
    EXPECT_EQ(hex(two.toData()), "0080");
}

// The rules as first written, pixel by pixel in floating point, for comparison with the packed
// conversions.
std::vector<std::uint8_t> referenceConversion(const ImagePixels& image, bool diffusion, int t) {
    const int w = image.width();
    const int h = image.height();
    const std::uint8_t* px = image.rgba().data();
    std::vector<int> black(std::size_t(w) * h, 0);
    std::vector<int> error(std::size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int step = 0; step < w; ++step) {
            const int x = diffusion && y % 2 == 1 ? w - 1 - step : step;
            const std::size_t i = std::size_t(y) * w + x;
            const std::uint8_t* p = px + i * 4;
            if (!diffusion) {
                black[i] = p[3] / 255.0 * t * 3.0 <= p[0] + p[1] + p[2] ? 0 : 1;
                continue;
            }
            int gray = 255;
            if (p[3] != 0) {
                gray = static_cast<int>(std::trunc((p[0] + p[1] + p[2]) / 3.0 * 1.5));
                if (gray > 254) gray = 255;
            }
            int& e = error[i];
            e += 255 - gray;
            if (e >= 255) {
                black[i] = 1;
                e -= 255;
            }
            const double q = e * 0.0625;
            const int s7 = int(std::trunc(q * 7)), s5 = int(std::trunc(q * 5)), s3 = int(std::trunc(q * 3)),
                      s1 = int(std::trunc(q));
            const int ahead = y % 2 == 0 ? 1 : -1;
            auto add = [&](int dx, int dy, int share) {
                if (x + dx >= 0 && x + dx < w && y + dy < h) error[std::size_t(y + dy) * w + x + dx] += share;
            };
            add(ahead, 0, s7);
            add(0, 1, s5);
            add(-ahead, 1, s3);
            add(ahead, 1, s1);
        }
    }
    std::vector<std::uint8_t> out(std::size_t((w + 7) / 8) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (black[std::size_t(y) * w + x]) out[std::size_t(y) * ((w + 7) / 8) + x / 8] |= 0x80 >> (x % 8);
    return out;
}

TEST(BitmapConverterTest, PackedConversionsMatchThePixelRules) {
    std::uint32_t seed = 7;
    for (const auto& [w, h, opaque] : std::vector<std::tuple<int, int, bool>>{{1, 5, false},
                                                                              {7, 3, false},
                                                                              {9, 4, false},
                                                                              {16, 6, false},
                                                                              {61, 9, false},
                                                                              {9, 4, true},
                                                                              {61, 9, true}}) {
        std::vector<std::uint8_t> rgba;
        for (int i = 0; i < w * h * 4; ++i) {
            seed = seed * 1103515245u + 12345u;
            std::uint8_t v = static_cast<std::uint8_t>(seed >> 24);
            // Alpha leans to the ends: opaque and transparent pixels are the common ones.
            if (i % 4 == 3) v = opaque || v > 150 ? 255 : v < 64 ? 0 : v;
            rgba.push_back(v);
        }
        const ImagePixels image = *ImagePixels::fromRGBA(w, h, rgba);
        BitmapConverter diffused(image);
        diffused.diffuse();
        EXPECT_EQ(hex(diffused.toData()), hex(referenceConversion(image, true, 0))) << w << "x" << h;
        for (const int t : {-3, 0, 1, 85, 127, 254, 255, 300}) {
            EXPECT_EQ(hex(thresholded(image, t)), hex(referenceConversion(image, false, t)))
                << w << "x" << h << " at " << t;
        }
        EXPECT_EQ(diffused.pixel(w - 1, h - 1), diffused.toData().back() & (0x80 >> ((w - 1) % 8))
                                                    ? BitmapPixel::black()
                                                    : BitmapPixel::white());
    }
}

TEST(BitmapConverterTest, ImageWithoutPixelDataRaisesUnexpectedState) {
    try {
        BitmapConverter converter(ImagePixels(4, 4, std::vector<std::uint8_t>(10)));
        FAIL() << "no error";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(error.message(), "Unexpected state at line 24 of BitmapConverter.");
    }
}

TEST(ImagePrepareTest, ScaledAndWidenedToWholeBytes) {
    Printer::ImageParameter large(solid(1152, 300, 0, 0, 0), 576);
    auto prepared = PrinterBaseBuilder::prepareImage(large);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->width, 576);
    EXPECT_EQ(prepared->height, 150);

    // 200 x 100 black at width 100 -> 104 x 50, the last 4 columns of every row white.
    prepared = PrinterBaseBuilder::prepareImage(Printer::ImageParameter(solid(200, 100, 0, 0, 0), 100));
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->width, 104);
    EXPECT_EQ(prepared->height, 50);
    std::vector<std::uint8_t> rowBytes(12, 0xFF);
    rowBytes.push_back(0xF0);
    std::vector<std::uint8_t> expected;
    for (int y = 0; y < 50; ++y) expected.insert(expected.end(), rowBytes.begin(), rowBytes.end());
    EXPECT_EQ(prepared->source, base64Encode(expected));

    // Width 1 is prepared 8 wide.
    prepared = PrinterBaseBuilder::prepareImage(Printer::ImageParameter(solid(3, 3, 0, 0, 0), 1));
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->width, 8);
    EXPECT_EQ(prepared->height, 1);
}

TEST(ImagePrepareTest, ImagesThatCannotBePreparedAreLeftOut) {
    PrinterBuilder printer;
    printer.actionPrintImage(Printer::ImageParameter(solid(10, 10, 0, 0, 0), 0))
        .actionPrintImage(Printer::ImageParameter(solid(10, 10, 0, 0, 0), -5))
        .actionPrintImage(Printer::ImageParameter(solid(100, 1, 0, 0, 0), 10))  // height truncates to 0
        .actionPrintImage(Printer::ImageParameter(ImagePixels(), 8))
        .actionPrintImage(Printer::ImageParameter(ImagePixels(2, 2, {1, 2, 3}), 8))
        .actionPrintImage(Printer::ImageParameter(solid(1, 1000, 0, 0, 0), 65535))  // too large a surface
        .actionPrintImage(Printer::ImageParameter(solid(1, 1, 0, 0, 0), 70000));    // too wide
    EXPECT_EQ(Testing::written(printer.categoryObject())["contents"].size(), 0u);
}

TEST(ImagePrepareTest, PageModeImageWidthIsThePreparedWidth) {
    PageModeBuilder page;
    page.actionPrintImage(Printer::PageModeImageParameter(solid(4, 4, 0, 0, 0), 1.5, 2, 1).setThreshold(10))
        .actionPrintImage(Printer::PageModeImageParameter(solid(4, 4, 0, 0, 0), 0, 0, 0));
    const auto contents = Testing::written(page.categoryObject())["contents"];
    ASSERT_EQ(contents.size(), 1u);
    EXPECT_EQ(contents[0]["method"], "Action.Print.PageModeImage");
    const nlohmann::ordered_json expected = {
        {"source", "gA=="}, {"x", 1.5}, {"y", 2.0}, {"width", 8}, {"height", 1}};
    EXPECT_EQ(contents[0]["parameter"], expected);
}

TEST(ImagePrepareTest, DisplayImageIsStretchedTo160By40) {
    DisplayBuilder display;
    // Left half black, right half white, 320 x 80: after halving, bytes 0-9 of each row black.
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 320; ++x) {
            const std::uint8_t v = x < 160 ? 0 : 255;
            rgba.insert(rgba.end(), {v, v, v, 255});
        }
    }
    display.actionShowImage(Display::ImageParameter(*ImagePixels::fromRGBA(320, 80, rgba)))
        .actionShowImage(Display::ImageParameter(solid(7, 3, 0, 0, 0, 0)).setEffectDiffusion(true));
    const auto contents = Testing::written(display.categoryObject())["contents"];
    ASSERT_EQ(contents.size(), 2u);
    std::vector<std::uint8_t> half;
    for (int y = 0; y < 40; ++y) {
        half.insert(half.end(), 10, 0xFF);
        half.insert(half.end(), 10, 0x00);
    }
    const nlohmann::ordered_json first = {{"source", base64Encode(half)}, {"width", 160}, {"height", 40}};
    EXPECT_EQ(contents[0]["method"], "Action.Show.Image");
    EXPECT_EQ(contents[0]["parameter"], first);
    const nlohmann::ordered_json transparent = {
        {"source", base64Encode(std::vector<std::uint8_t>(800, 0))}, {"width", 160}, {"height", 40}};
    EXPECT_EQ(contents[1]["parameter"], transparent);
}

TEST(ImagePixelsTest, DrawingAndChecks) {
    EXPECT_FALSE(ImagePixels::fromRGBA(2, 2, std::vector<std::uint8_t>(15)));
    EXPECT_FALSE(ImagePixels::fromRGBA(-1, 2, {}));
    EXPECT_FALSE(ImagePixels::decode(std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(
        ImagePixels::decode(std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0}));
    EXPECT_FALSE(ImagePixels::decode(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 0, 0}));
    EXPECT_FALSE(ImagePixels::loadFile("/nonexistent/image.png"));

    // Two pixels, black and white, averaged into one gray pixel; a straight half-transparent white pixel
    // is kept premultiplied.
    const ImagePixels pair = row({{0, 0, 0, 255}, {255, 255, 255, 255}});
    const auto one = pair.drawnInto(1, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ(std::vector<std::uint8_t>(one->rgba().begin(), one->rgba().end()),
              (std::vector<std::uint8_t>{128, 128, 128, 255}));
    const auto half = row({{255, 255, 255, 128}}).drawnInto(1, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(half->rgba().begin(), half->rgba().end()),
              (std::vector<std::uint8_t>{128, 128, 128, 128}));
    // In its own size an opaque image keeps its bytes; only the pixels that are not opaque change.
    const auto same = pair.drawnInto(2, 1);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->premultiplied());
    EXPECT_EQ(std::vector<std::uint8_t>(same->rgba().begin(), same->rgba().end()),
              (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255, 255, 255}));
    const auto mixed = row({{10, 20, 30, 255}, {255, 255, 255, 128}, {200, 100, 50, 255}}).drawnInto(3, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(mixed->rgba().begin(), mixed->rgba().end()),
              (std::vector<std::uint8_t>{10, 20, 30, 255, 128, 128, 128, 128, 200, 100, 50, 255}));
    const auto wide = pair.widenedBy(2);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->width(), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(wide->rgba().begin() + 8, wide->rgba().end()),
              std::vector<std::uint8_t>(8, 0));
    EXPECT_FALSE(pair.drawnInto(0, 1));
    EXPECT_FALSE(pair.drawnInto(70000, 1));
}

// A 1-bit conversion made by ImageMagick on the same file must match ours pixel for pixel. ImageMagick's
// threshold with the average intensity turns a pixel white when (r + g + b) / 3, in 16-bit quantum, is
// above the level; ours turns it white when r + g + b >= 3t, so the level is 257 (3t - 0.5) / 3.
class ImageMagickReferenceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v convert >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "ImageMagick not installed";
        directory_ = std::filesystem::temp_directory_path() /
                     ("prelix10_images_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override {
        if (!directory_.empty()) std::filesystem::remove_all(directory_);
    }

    std::string path(const std::string& name) const { return (directory_ / name).string(); }

    bool run(const std::string& arguments) const {
        return std::system(("convert " + arguments + " >/dev/null 2>&1").c_str()) == 0;
    }

    // The raster bytes of a binary PBM (1 = black, rows padded to whole bytes, high bit first).
    static std::vector<std::uint8_t> pbmRaster(const std::string& file, int& width, int& height) {
        std::ifstream in(file, std::ios::binary);
        std::string magic;
        in >> magic >> width >> height;
        in.get();
        if (magic != "P4") return {};
        return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    }

    void expectSameConversion(const std::string& image) {
        const auto pixels = ImagePixels::loadFile(path(image));
        ASSERT_TRUE(pixels) << image;
        for (const int t : {40, 127, 200}) {
            char level[32];
            std::snprintf(level, sizeof level, "%.4f", 257.0 * (3.0 * t - 0.5) / 3.0);
            const std::string out = path("ref.pbm");
            ASSERT_TRUE(run(path(image) + " -alpha off -intensity Average -threshold " + level + " " + out));
            int width = 0;
            int height = 0;
            const std::vector<std::uint8_t> reference = pbmRaster(out, width, height);
            ASSERT_EQ(width, pixels->width());
            ASSERT_EQ(height, pixels->height());
            const std::vector<std::uint8_t> ours = thresholded(*pixels, t);
            ASSERT_EQ(ours.size(), reference.size());
            std::size_t differing = 0;
            for (std::size_t i = 0; i < ours.size(); ++i) differing += ours[i] != reference[i];
            EXPECT_EQ(differing, 0u) << image << " threshold " << t;
            // The printer builder's image action at the image's own width carries the same raster.
            const auto prepared = PrinterBaseBuilder::prepareImage(
                Printer::ImageParameter(*pixels, pixels->width()).setThreshold(t));
            ASSERT_TRUE(prepared);
            EXPECT_EQ(prepared->source, base64Encode(reference)) << image << " threshold " << t;
        }
    }

    std::filesystem::path directory_;
};

TEST_F(ImageMagickReferenceTest, Photo) {
    // A fractal plasma with a fixed seed stands in for a photo; once as PNG, once as JPEG.
    ASSERT_TRUE(run("-seed 7 -size 240x160 plasma:fractal -blur 0x1 -depth 8 PNG24:" + path("photo.png")));
    ASSERT_TRUE(run(path("photo.png") + " -quality 85 " + path("photo.jpg")));
    expectSameConversion("photo.png");
    expectSameConversion("photo.jpg");
}

TEST_F(ImageMagickReferenceTest, LineDrawing) {
    ASSERT_TRUE(
        run("-size 232x120 xc:white -stroke black -fill none -strokewidth 2 "
            "-draw \"line 4,4 228,116\" -draw \"circle 116,60 150,80\" "
            "-stroke gray40 -strokewidth 1 -draw \"rectangle 10,10 80,50\" "
            "-draw \"line 0,119 231,90\" -depth 8 PNG24:" +
            path("lines.png")));
    expectSameConversion("lines.png");
}
