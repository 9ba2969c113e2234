#include "command/printer/SecondPriorityCharacterEncode.hpp"

namespace PrinterCommandBuilder::Printer {

void SecondPriorityCharacterEncode::orvoCommon(ByteBuffer*, VelmarCommandParser::Encode,
                                               PrintSettingsInformation*, PrinterModel) {}

void SecondPriorityCharacterEncode::orvoGraphic(ByteBuffer*, VelmarCommandParser::Encode,
                                                PrintSettingsInformation*, PrinterModel) {}

void SecondPriorityCharacterEncode::escpos(ByteBuffer*, VelmarCommandParser::Encode,
                                           PrintSettingsInformation*, PrinterModel) {}

void SecondPriorityCharacterEncode::escposMobile(ByteBuffer*, VelmarCommandParser::Encode,
                                                 PrintSettingsInformation*, PrinterModel) {}

void SecondPriorityCharacterEncode::orvoYalme1(ByteBuffer*, VelmarCommandParser::Encode,
                                               PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
