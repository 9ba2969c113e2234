#include "command/printer/VerticalPositionBy.hpp"

namespace PrinterCommandBuilder::Printer {

void VerticalPositionBy::orvoCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void VerticalPositionBy::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
