#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
