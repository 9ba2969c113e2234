#include "prelix10/command/printer/CharacterSpace.hpp"

#include <algorithm>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void CharacterSpace::orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    const double coefficient = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    const auto n = static_cast<uint8_t>(
        std::clamp(MathUtil::mmToDotFloor(mm, coefficient, settings->baseMagnification), 0, 15));
    // The same space for single-byte characters and for the left and right of multi-byte ones.
    buffer->add({0x1B, 0x20, n, 0x1B, 0x73, 0x00, n, 0x1B, 0x74, 0x00, n});
    settings->characterSpace = mm;
}

void CharacterSpace::orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                   PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    const auto n = static_cast<uint8_t>(std::clamp(MathUtil::saturateToInt32((mm + 0.001) / 0.15), 0, 15));
    const auto m = static_cast<uint8_t>(n + 4);
    buffer->add({0x1B, 0x20, n, 0x1B, 0x73, 0x00, m, 0x1B, 0x74, 0x00, m});
    settings->characterSpace = mm;
}

void CharacterSpace::escposCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                  PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    const auto n = static_cast<uint8_t>(std::clamp(MathUtil::saturateToInt32((mm + 0.001) * 8), 0, 255));
    buffer->add({0x1B, 0x20, n, 0x1C, 0x53, 0x00, n});
    settings->characterSpace = mm;
}

void CharacterSpace::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void CharacterSpace::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
