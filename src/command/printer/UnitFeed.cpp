#include "command/printer/UnitFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void UnitFeed::orvoCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void UnitFeed::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void UnitFeed::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void UnitFeed::escpos(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void UnitFeed::escposMobile(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void UnitFeed::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
