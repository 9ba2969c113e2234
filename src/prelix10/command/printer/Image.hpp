#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// One-bit raster picture given as Base64 text.
class Image {
  public:
    static void orvoCommon(ByteBuffer* buffer, std::string_view source, int width, int height,
                           PrintSettingsInformation* settings, PrinterModel model);
    static void kestrin(ByteBuffer* buffer, std::string_view source, int width, int height,
                        PrintSettingsInformation* settings, PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, std::string_view source, int width, int height,
                         PrintSettingsInformation* settings, PrinterModel model);
    static void escpos(ByteBuffer* buffer, std::string_view source, int width, int height,
                       PrintSettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, std::string_view source, int width, int height,
                             PrintSettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, std::string_view source, int width, int height,
                            PrintSettingsInformation* settings);
    static void orvoDotImpact(ByteBuffer* buffer, std::string_view source, int width, int height,
                              PrintSettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, std::string_view source, int width, int height,
                           PrintSettingsInformation* settings);
    static void orvoPageModeCommon(ByteBuffer* buffer, std::string_view source, double x, double y,
                                   int width, int height, PrintSettingsInformation* settings,
                                   PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
