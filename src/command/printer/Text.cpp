#include "command/printer/Text.hpp"

namespace PrinterCommandBuilder::Printer {

void Text::orvoCommon(ByteBuffer*, const std::string&, TextWidthParameter, PrinterModel,
                      PrintSettingsInformation*) {}

void Text::escpos(ByteBuffer*, const std::string&, PrinterModel, PrintSettingsInformation*) {}

void Text::escposMobile(ByteBuffer*, const std::string&, PrinterModel, PrintSettingsInformation*) {}

void Text::orvoGraphic(ByteBuffer*, const std::string&, PrinterModel, PrintSettingsInformation*) {}

void Text::orvoYalme1(ByteBuffer*, const std::string&, PrinterModel, PrintSettingsInformation*) {}

std::vector<VelmarCommandParser::Encode> Text::createDefaultEncodeList() {
    return {};
}

std::vector<VelmarCommandParser::Encode> Text::createEncodeList(PrintSettingsInformation*) {
    return {};
}

}  // namespace PrinterCommandBuilder::Printer
