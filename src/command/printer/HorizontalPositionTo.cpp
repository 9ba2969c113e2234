#include "command/printer/HorizontalPositionTo.hpp"

namespace PrinterCommandBuilder::Printer {

void HorizontalPositionTo::kestrin(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionTo::orvoLine(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionTo::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionTo::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionTo::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionTo::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
