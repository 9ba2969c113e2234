#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Print a logo stored in the printer.
class Logo {
  public:
    static void kestrin(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                        PrintSettingsInformation* settings, PrinterModel model);
    static void orvoCommon(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                           PrintSettingsInformation* settings, PrinterModel model);
    static void escpos(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                       PrintSettingsInformation* settings, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                             PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                           PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
