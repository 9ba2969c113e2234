#include "command/printer/LineSpace.hpp"

namespace PrinterCommandBuilder::Printer {

void LineSpace::orvoCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void LineSpace::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void LineSpace::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void LineSpace::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void LineSpace::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
