#include "command/printer/UnderLine.hpp"

namespace PrinterCommandBuilder::Printer {

void UnderLine::orvoCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void UnderLine::escpos(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void UnderLine::escposMobile(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void UnderLine::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void UnderLine::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
