#include "command/printer/Cut.hpp"

namespace PrinterCommandBuilder::Printer {

void Cut::orvoCommon(ByteBuffer*, CutType, PrintSettingsInformation*, PrinterModel) {}

void Cut::orvoGraphic(ByteBuffer*, CutType, PrintSettingsInformation*, PrinterModel) {}

void Cut::escpos(ByteBuffer*, CutType, PrintSettingsInformation*, PrinterModel) {}

void Cut::escposMobile(ByteBuffer*, CutType, PrintSettingsInformation*, PrinterModel) {}

void Cut::orvoYalme1(ByteBuffer*, CutType, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
