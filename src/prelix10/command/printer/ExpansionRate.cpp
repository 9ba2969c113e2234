#include "prelix10/command/printer/ExpansionRate.hpp"

#include <algorithm>
#include <cstdint>

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

// The magnification minus one, clamped to 0..maximum; computed wide so extreme values cannot overflow.
int32_t stepsAboveOne(int value, int32_t maximum) {
    return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(value) - 1, 0, maximum));
}

}  // namespace

void ExpansionRate::orvoCommon(ByteBuffer* buffer, int width, int height, PrintSettingsInformation* settings,
                               PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    const int32_t a = stepsAboveOne(height, model == PrinterModel::Wexal_R799 ? 2 : 5);
    const int32_t b = stepsAboveOne(width, 5);
    buffer->add({0x1B, 0x69, static_cast<uint8_t>(a), static_cast<uint8_t>(b)});
    settings->expansionRatio = ExpansionRatioParam(b + 1, a + 1);
}

void ExpansionRate::orvoDotImpact(ByteBuffer* buffer, int width, int height,
                                  PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    const int32_t a = stepsAboveOne(height, 1);
    const int32_t b = stepsAboveOne(width, 1);
    const auto c = static_cast<uint8_t>(a == 0 ? 1 : 0);
    buffer->add({0x1B, 0x57, static_cast<uint8_t>(a), 0x1B, 0x68, static_cast<uint8_t>(b), 0x1B, 0x78, c});
    settings->expansionRatio = ExpansionRatioParam(b + 1, a + 1);
}

void ExpansionRate::escposCommon(ByteBuffer* buffer, int width, int height,
                                 PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    const int32_t w = stepsAboveOne(width, 7);
    const int32_t h = stepsAboveOne(height, 7);
    buffer->add({0x1D, 0x21, static_cast<uint8_t>((w << 4) | h)});
    settings->expansionRatio = ExpansionRatioParam(w + 1, h + 1);
}

void ExpansionRate::orvoGraphic(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

void ExpansionRate::orvoYalme1(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
