#include "command/printer/Font.hpp"

namespace PrinterCommandBuilder::Printer {

void Font::orvoCommon(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

void Font::orvoDotImpact(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

void Font::escpos(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

void Font::escposMobile(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

void Font::orvoGraphic(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

void Font::orvoYalme1(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
