#include "command/printer/VerticalPositionTo.hpp"

namespace PrinterCommandBuilder::Printer {

void VerticalPositionTo::orvoCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionTo::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
