#include "prelix10/command/printer/HorizontalPositionBy.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

// Emits a relative move of dots as a series of signed 16-bit moves that add up to it: half of the
// remaining distance each time, the odd dots carried to the end.
void appendSeries(ByteBuffer* buffer, uint8_t const* prefix, size_t prefixSize, int32_t dots, int32_t sign,
                  PrintSettingsInformation* settings) {
    // A move is a signed 16-bit number of dots: clamp the dot count, not the millimetres.
    int32_t d = std::clamp(dots, -32768, 32767);
    if (d == 0) return;
    int32_t carry = 0;
    // The halves shrink to 0 within 16 steps and the carry drains by one per step after that.
    for (int step = 0; step < 64; ++step) {
        const int32_t odd = (std::abs(d) & 1) * ((d > 0) == (sign > 0) ? 1 : -1);
        const int32_t half = d / 2;
        const bool halfIsZero = (half & 0xFFFF) == 0;
        const int32_t value = halfIsZero ? sign : half;
        carry = carry + odd - (halfIsZero ? 1 : 0);
        const auto v = static_cast<uint16_t>(static_cast<int16_t>(value));
        buffer->add(prefix, prefixSize);
        buffer->add({static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)});
        if ((d >= -1 && d <= 1) && carry <= 0) break;
        d = half;
    }
    settings->isLineHead = false;
}

int32_t signOf(double mm) {
    return mm < 0 ? -1 : 1;
}

void pagePrinterMove(ByteBuffer* buffer, double mm, double coefficient, PrintSettingsInformation* settings,
                     PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    static const uint8_t prefix[] = {0x1B, 0x1D, 0x52};
    appendSeries(buffer, prefix, sizeof(prefix),
                 MathUtil::mmToDotFloor(mm, coefficient, BaseMagnificationType::Standard), signOf(mm),
                 settings);
}

}  // namespace

void HorizontalPositionBy::kestrin(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                   PrinterModel model) {
    pagePrinterMove(buffer, mm, MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model)),
                    settings, model);
}

void HorizontalPositionBy::orvoLine(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                    PrinterModel model) {
    pagePrinterMove(buffer, mm, 0.125, settings, model);
}

void HorizontalPositionBy::orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                         PrinterModel model) {
    pagePrinterMove(buffer, mm, 0.15, settings, model);
}

void HorizontalPositionBy::escposCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                        PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    static const uint8_t prefix[] = {0x1B, 0x5C};
    const int32_t sign = signOf(mm);
    appendSeries(buffer, prefix, sizeof(prefix), MathUtil::saturateToInt32((mm + sign * 0.001) * 8), sign,
                 settings);
}

void HorizontalPositionBy::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionBy::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
