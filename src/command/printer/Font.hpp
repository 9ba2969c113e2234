#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Character font.
class Font {
  public:
    static void orvoCommon(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                              PrinterModel model);
    static void escpos(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                       PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
