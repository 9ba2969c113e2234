#include "command/printer/Image.hpp"

namespace PrinterCommandBuilder::Printer {

void Image::orvoCommon(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Image::kestrin(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Image::orvoLine(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Image::escpos(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*) {}

void Image::escposMobile(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*) {}

void Image::orvoGraphic(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*) {}

void Image::orvoDotImpact(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*) {}

void Image::orvoYalme1(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*) {}

void Image::orvoPageModeCommon(ByteBuffer*, const std::string&, double, double, int, int,
                               PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
