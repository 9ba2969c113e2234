#pragma once

#include "command/ByteBuffer.hpp"
#include "command/Encode.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// The encoding tried after the CJK priority list.
class SecondPriorityCharacterEncode {
  public:
    static void orvoCommon(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                           PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void escpos(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                       PrintSettingsInformation* settings, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                             PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                           PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
