#pragma once

#include <string>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/Encode.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Print text: escapes decoded, converted to the printer's encoding, optionally laid into a fixed width.
class Text {
  public:
    static void orvoCommon(ByteBuffer* buffer, const std::string& content, TextWidthParameter widthParameter,
                           PrinterModel model, PrintSettingsInformation* settings);
    static void escpos(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                       PrintSettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                             PrintSettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                            PrintSettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                           PrintSettingsInformation* settings);
    static std::vector<VelmarCommandParser::Encode> createDefaultEncodeList();
    static std::vector<VelmarCommandParser::Encode> createEncodeList(PrintSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Printer
