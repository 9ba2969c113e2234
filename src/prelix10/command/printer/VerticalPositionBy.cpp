#include "prelix10/command/printer/VerticalPositionBy.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

void appendMove(ByteBuffer* buffer, std::int32_t dots) {
    const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(dots));
    buffer->add({0x1B, 0x1D, 0x50, 0x35, static_cast<std::uint8_t>(word & 0xFF),
                 static_cast<std::uint8_t>(word >> 8)});
}

}  // namespace

void VerticalPositionBy::orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                    PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    const std::int32_t sign = mm < 0 ? -1 : 1;
    const double c = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    std::int32_t dots = MathUtil::mmToDotFloor(mm, c, BaseMagnificationType::Standard);
    if (dots == 0) return;
    // Each move is a signed 16-bit count: the dot count is limited, not only the millimetres.
    dots = std::clamp(dots, -32768, 32767);
    // The halves n/2, n/4, ... add up to n minus the number of its set bits; one unit move per
    // set bit makes up the rest.
    for (std::int32_t half = dots / 2; half != 0; half /= 2) appendMove(buffer, half);
    const auto magnitude = static_cast<std::uint32_t>(dots < 0 ? -dots : dots);
    for (int bit = std::popcount(magnitude); bit > 0; --bit) appendMove(buffer, sign);
}

void VerticalPositionBy::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
