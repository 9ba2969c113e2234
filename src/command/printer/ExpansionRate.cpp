#include "command/printer/ExpansionRate.hpp"

namespace PrinterCommandBuilder::Printer {

void ExpansionRate::orvoCommon(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

void ExpansionRate::orvoDotImpact(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

void ExpansionRate::escposCommon(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

void ExpansionRate::orvoGraphic(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

void ExpansionRate::orvoYalme1(ByteBuffer*, int, int, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
