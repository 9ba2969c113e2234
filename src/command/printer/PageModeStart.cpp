#include "command/printer/PageModeStart.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModeStart::orvoCommon(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::orvoDotImpact(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::orvoGraphic(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::orvoYalme1(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void PageModeStart::escposCommon(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
