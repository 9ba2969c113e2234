#include "prelix10/command/printer/LineSpace.hpp"

#include <algorithm>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void LineSpace::orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                           PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    // These printers know two line spacings; the wider one is chosen above the limit.
    const bool fine = ModelChecker::getPrintResolution(model) == PrintResolution::Dpi300 &&
                      settings->baseMagnification == BaseMagnificationType::Standard;
    const double limit = fine ? 2.0 : 3.0;
    buffer->add({0x1B, 0x7A, static_cast<uint8_t>(mm > limit ? 1 : 0)});
    settings->lineSpace = MathUtil::saturateToInt32(mm);
}

void LineSpace::orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                              PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    // Steps of 1/144 inch; spacings beyond 255 steps (about 45 mm) take the widest the byte holds.
    const int steps = mm < 0 ? 0 : MathUtil::mmToDotRound(mm, 0.176389, BaseMagnificationType::Standard);
    buffer->add({0x1B, 0x79, static_cast<uint8_t>(std::clamp(steps, 0, 255))});
    settings->lineSpace = MathUtil::saturateToInt32(mm);
}

void LineSpace::escposCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                             PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    const auto n = static_cast<uint8_t>(std::clamp(MathUtil::saturateToInt32((mm + 0.001) * 8), 0, 255));
    buffer->add({0x1B, 0x33, n});
    settings->lineSpace = MathUtil::saturateToInt32(mm);
}

void LineSpace::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void LineSpace::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
