#include "command/printer/LineFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void LineFeed::orvoCommon(ByteBuffer*, int, PrintSettingsInformation*, PrinterModel) {}

void LineFeed::orvoGraphic(ByteBuffer*, int, PrintSettingsInformation*, PrinterModel) {}

void LineFeed::escposCommon(ByteBuffer*, int, PrintSettingsInformation*, PrinterModel) {}

void LineFeed::orvoYalme1(ByteBuffer*, int, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
