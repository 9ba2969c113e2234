#include "command/printer/HorizontalPositionBy.hpp"

namespace PrinterCommandBuilder::Printer {

void HorizontalPositionBy::kestrin(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionBy::orvoLine(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionBy::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionBy::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionBy::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionBy::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
