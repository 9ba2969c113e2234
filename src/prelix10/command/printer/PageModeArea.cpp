#include "prelix10/command/printer/PageModeArea.hpp"

#include <algorithm>
#include <cstdint>

#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

// Dot counts go out as 16-bit numbers.
std::uint16_t toWord(std::int32_t dots) {
    return static_cast<std::uint16_t>(std::clamp(dots, 0, 0xFFFF));
}

void appendWord(ByteBuffer* buffer, std::int32_t dots) {
    const std::uint16_t word = toWord(dots);
    buffer->add({static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)});
}

}  // namespace

void PageModeArea::orvoCommon(ByteBuffer* buffer, AreaType type, double x, double y, double width,
                              double height, PrintSettingsInformation* settings,
                              PrintSettingsInformation* enclosing, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    MethodCheckCondition condition;
    condition.setIsPageModeAreaSize(true);
    if (!MethodChecker::isValidInPageMode(settings, model, condition)) return;

    const PageModeAreaSize area = createAdjustedAreaSize(type, x, y, width, height, enclosing, model);
    if (area.isValid()) {
        const PrintResolution resolution = ModelChecker::getPrintResolution(model);
        const double c = MathUtil::getMmToDotCoefficient(resolution);
        const auto length = [&](double mm) {
            const std::int32_t dots = resolution == PrintResolution::Dpi300
                                          ? MathUtil::mmToDotCeil(mm, c, BaseMagnificationType::Standard)
                                          : MathUtil::mmToDotRound(mm, c, BaseMagnificationType::Standard);
            return std::max(dots, 1);
        };
        buffer->add({0x1B, 0x1D, 0x50, 0x33});
        appendWord(buffer, MathUtil::mmToDotRound(area.x, c, BaseMagnificationType::Standard));
        appendWord(buffer, MathUtil::mmToDotRound(area.y, c, BaseMagnificationType::Standard));
        appendWord(buffer, length(area.width));
        appendWord(buffer, length(area.height));
    }
    // An invalid area is kept as well: the rest of its block then prints nothing.
    settings->pageModeAreaSize = area;
    settings->isPageModeAreaSet = true;
}

void PageModeArea::orvoDotImpact(ByteBuffer*, AreaType, double, double, double, double,
                                 PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::orvoGraphic(ByteBuffer*, AreaType, double, double, double, double,
                               PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::orvoYalme1(ByteBuffer*, AreaType, double, double, double, double,
                              PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::escposCommon(ByteBuffer*, AreaType, double, double, double, double,
                                PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

PageModeAreaSize PageModeArea::createAdjustedAreaSize(AreaType type, double x, double y, double width,
                                                      double height,
                                                      const PrintSettingsInformation* enclosing,
                                                      PrinterModel model) {
    const PageModeAreaSize requested(type, x, y, width, height);
    if (enclosing == nullptr || !enclosing->isPageMode) return requested;
    return enclosing->pageModeAreaSize.getUnion(requested, enclosing->printDirection, model);
}

}  // namespace PrinterCommandBuilder::Printer
