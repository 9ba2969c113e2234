#include "command/printer/Logo.hpp"

namespace PrinterCommandBuilder::Printer {

void Logo::kestrin(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Logo::orvoCommon(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Logo::escpos(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Logo::escposMobile(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Logo::orvoGraphic(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Logo::orvoYalme1(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
