#include "command/printer/Bold.hpp"

namespace PrinterCommandBuilder::Printer {

void Bold::orvoCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Bold::escposCommon(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Bold::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Bold::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
