#include "prelix10/command/printer/UnitFeed.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

// The longest feed one call sends. Image blank runs come through here too (up to 80,000 rows,
// 10,000 mm at 8 dots per mm), so the limit only guards against absurd document values.
constexpr double kMaximumFeedMm = 10000.0;
constexpr double kEscposMmPerDot = 0.125;
constexpr double kDotImpactMmPerDot = 0.176389;
// The raster feed carries its dot count as decimal digits in a 5-byte field ended by a NUL;
// longer feeds are sent as several commands.
constexpr int kMaximumRasterFeedDots = 9999;

int feedDots(double mm, double coefficient) {
    return MathUtil::mmToDotRound(std::min(mm, kMaximumFeedMm), coefficient, BaseMagnificationType::Standard);
}

// cmd1 cmd2 n, repeated with n = 255 while more than 255 dots remain, then the rest.
void appendChunks(ByteBuffer* buffer, uint8_t first, uint8_t second, int dots) {
    while (dots > 255) {
        buffer->add({first, second, 0xFF});
        dots -= 255;
    }
    if (dots > 0) buffer->add({first, second, static_cast<uint8_t>(dots)});
}

void pagePrinterFeed(ByteBuffer* buffer, double mm, double coefficient, double minimumMm,
                     PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    if (!(mm >= minimumMm)) return;
    const int dots = std::max(feedDots(mm, coefficient), 1);
    appendChunks(buffer, 0x1B, 0x49, dots);
    settings->isLineHead = true;
}

void escposFeed(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr || !(mm >= kEscposMmPerDot)) return;
    appendChunks(buffer, 0x1B, 0x4A, std::max(feedDots(mm, kEscposMmPerDot), 1));
    settings->isLineHead = true;
}

}  // namespace

void UnitFeed::orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                          PrinterModel model) {
    const double coefficient = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    pagePrinterFeed(buffer, mm, coefficient, coefficient, settings, model);
}

void UnitFeed::orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                             PrinterModel model) {
    pagePrinterFeed(buffer, mm, kDotImpactMmPerDot, 0.176, settings, model);
}

void UnitFeed::orvoGraphic(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr || !(mm >= kEscposMmPerDot)) return;
    int dots = std::max(feedDots(mm, kEscposMmPerDot), 1);
    while (dots > 0) {
        const int part = std::min(dots, kMaximumRasterFeedDots);
        // Up to four digits and a closing zero byte.
        uint8_t command[9] = {0x1B, 0x2A, 0x72, 0x59};
        std::snprintf(reinterpret_cast<char*>(command + 4), 5, "%d", part);
        buffer->add(command, sizeof(command));
        dots -= part;
    }
    settings->isLineHead = true;
}

void UnitFeed::escpos(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings, PrinterModel) {
    escposFeed(buffer, mm, settings);
}

void UnitFeed::escposMobile(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings, PrinterModel) {
    escposFeed(buffer, mm, settings);
}

void UnitFeed::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
