#include "prelix10/command/printer/VerticalPositionTo.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/VerticalPositionBy.hpp"

namespace PrinterCommandBuilder::Printer {

void VerticalPositionTo::orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                    PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    // Back to the top of the area, then down by the distance.
    buffer->add({0x1B, 0x1D, 0x50, 0x34, 0x00, 0x00});
    VerticalPositionBy::orvoCommon(buffer, mm, settings, model);
}

void VerticalPositionTo::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
