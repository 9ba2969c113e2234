#include "command/display/Text.hpp"

namespace PrinterCommandBuilder::Display {

void Text::orvoCommon(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::kestrin(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::orvoGraphic(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::orvoLine(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::orvoDotImpact(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::orvoYalme1(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::escpos(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::escposMobile(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Display
