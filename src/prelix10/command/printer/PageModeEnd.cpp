#include "prelix10/command/printer/PageModeEnd.hpp"

#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModeEnd::orvoCommon(ByteBuffer* buffer, bool areaValid, PrintSettingsInformation*,
                             PrinterModel model) {
    if (buffer == nullptr || !ModelChecker::isPageModeSupported(model)) return;
    // With a valid area the page is printed on the way out; otherwise it is discarded.
    buffer->add({0x1B, 0x1D, 0x50, static_cast<std::uint8_t>(areaValid ? 0x37 : 0x31)});
}

void PageModeEnd::orvoDotImpact(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::escposCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
