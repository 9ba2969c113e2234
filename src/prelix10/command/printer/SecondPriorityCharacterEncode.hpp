#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/Encode.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
