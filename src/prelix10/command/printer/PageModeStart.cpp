#include "prelix10/command/printer/PageModeStart.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModeStart::orvoCommon(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    // The record is still the line-mode one here, which the page-mode check always accepts, so
    // the model is asked directly.
    if (!ModelChecker::isPageModeSupported(model)) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    buffer->add({0x1B, 0x1D, 0x50, 0x30});
}

void PageModeStart::orvoDotImpact(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::orvoGraphic(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::orvoYalme1(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::escposCommon(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
