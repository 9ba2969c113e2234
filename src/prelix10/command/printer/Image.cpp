#include "prelix10/command/printer/Image.hpp"

#include <vector>

#include "prelix10/command/RasterCommands.hpp"
#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/printer/ImageCommandCreator.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

constexpr int maxBandWidthDots = 1024;
constexpr int maxHeightAt8DotsPerMm = 80000;
constexpr int maxRasterWidthDots = 65535;
constexpr int maxDotImpactHeight = 56693;

std::vector<std::uint8_t> decodeSource(std::string_view source) {
    std::vector<std::uint8_t> decoded;
    VelmarCommandParser::StrUtil::decodeBase64(source, decoded);
    return decoded;
}

int byteWidthOf(int width) {
    return static_cast<int>((static_cast<long long>(width) + 7) / 8);
}

void createWith(ImageCommandCreator& creator, ByteBuffer* buffer, std::string_view source, int width,
                int height, PrintSettingsInformation* settings, bool lineFeedFirst) {
    if (lineFeedFirst && !settings->isLineHead) {
        buffer->add({0x0A});
    }
    creator.create(decodeSource(source), byteWidthOf(width), height, settings->alignment, buffer);
    settings->isLineHead = true;
}

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

void Image::orvoCommon(ByteBuffer* buffer, std::string_view source, int width, int height,
                       PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    const PrintResolution resolution = ModelChecker::getPrintResolution(model);
    const int maxHeight = MathUtil::mmToDotFloor(10000.0, MathUtil::getMmToDotCoefficient(resolution),
                                                 BaseMagnificationType::Standard);
    if (!inRange(width, 1, maxBandWidthDots) || !inRange(height, 1, maxHeight)) return;
    KestrinImageCommandCreator creator(resolution);
    createWith(creator, buffer, source, width, height, settings, true);
}

void Image::kestrin(ByteBuffer* buffer, std::string_view source, int width, int height,
                    PrintSettingsInformation* settings, PrinterModel model) {
    orvoCommon(buffer, source, width, height, settings, model);
}

void Image::orvoLine(ByteBuffer* buffer, std::string_view source, int width, int height,
                     PrintSettingsInformation* settings, PrinterModel model) {
    orvoCommon(buffer, source, width, height, settings, model);
}

void Image::escpos(ByteBuffer* buffer, std::string_view source, int width, int height,
                   PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!inRange(width, 1, maxBandWidthDots) || !inRange(height, 1, maxHeightAt8DotsPerMm)) return;
    EscposImageCommandCreator creator;
    createWith(creator, buffer, source, width, height, settings, true);
}

void Image::escposMobile(ByteBuffer* buffer, std::string_view source, int width, int height,
                         PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!inRange(width, 1, maxBandWidthDots) || !inRange(height, 1, maxHeightAt8DotsPerMm)) return;
    EscposMobileImageCommandCreator creator;
    createWith(creator, buffer, source, width, height, settings, true);
}

void Image::orvoGraphic(ByteBuffer* buffer, std::string_view source, int width, int height,
                        PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!inRange(width, 1, maxRasterWidthDots) || !inRange(height, 1, maxHeightAt8DotsPerMm)) return;
    OrvoGraphicImageCommandCreator creator;
    createWith(creator, buffer, source, width, height, settings, false);
}

void Image::orvoDotImpact(ByteBuffer* buffer, std::string_view source, int width, int height,
                          PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    if (width < 1 || !inRange(height, 1, maxDotImpactHeight)) return;
    // Only the first 248 dots of each row are printed; they are read straight from the decoded
    // source, so a huge width costs nothing.
    const std::vector<std::uint8_t> decoded = decodeSource(source);
    std::vector<std::uint8_t> bytes;
    RasterCommands::appendDotImpactPicture(bytes, decoded.data(), decoded.size(), width, height,
                                           !settings->isLineHead);
    buffer->add(bytes);
    settings->isLineHead = true;
}

void Image::orvoYalme1(ByteBuffer*, std::string_view, int, int, PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
