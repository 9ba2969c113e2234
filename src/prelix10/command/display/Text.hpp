#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Display text in the display's encoding.
class Text {
  public:
    static void orvoCommon(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                           DisplaySettingsInformation* settings);
    static void kestrin(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                        DisplaySettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                            DisplaySettingsInformation* settings);
    static void orvoLine(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                         DisplaySettingsInformation* settings);
    static void orvoDotImpact(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                              DisplaySettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                           DisplaySettingsInformation* settings);
    static void escpos(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                       DisplaySettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                             DisplaySettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Display
