#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Relative horizontal move, in millimetres.
class HorizontalPositionBy {
  public:
    static void kestrin(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                        PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                         PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                              PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
