#include "command/printer/Invert.hpp"

namespace PrinterCommandBuilder::Printer {

void Invert::orvoCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Invert::escposCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Invert::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Invert::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
