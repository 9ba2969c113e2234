#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// PDF417 symbol.
class Pdf417 {
  public:
    static void orvoCommon(ByteBuffer* buffer, const std::string& content, int line, int column,
                           Pdf417EccLevel level, int module, int aspect, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escpos(ByteBuffer* buffer, const std::string& content, int line, int column,
                       Pdf417EccLevel level, int module, int aspect, PrintSettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, const std::string& content, int line, int column,
                             Pdf417EccLevel level, int module, int aspect,
                             PrintSettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& content, int line, int column,
                            Pdf417EccLevel level, int module, int aspect, PrintSettingsInformation* settings);
    static void orvoDotImpact(ByteBuffer* buffer, const std::string& content, int line, int column,
                              Pdf417EccLevel level, int module, int aspect,
                              PrintSettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& content, int line, int column,
                           Pdf417EccLevel level, int module, int aspect, PrintSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Printer
