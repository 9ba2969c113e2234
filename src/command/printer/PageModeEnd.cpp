#include "command/printer/PageModeEnd.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModeEnd::orvoCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::orvoDotImpact(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void PageModeEnd::escposCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
