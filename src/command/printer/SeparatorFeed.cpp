#include "command/printer/SeparatorFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void SeparatorFeed::orvoCommon(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void SeparatorFeed::escpos(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void SeparatorFeed::escposMobile(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void SeparatorFeed::orvoGraphic(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

void SeparatorFeed::orvoYalme1(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
