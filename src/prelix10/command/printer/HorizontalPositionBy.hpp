#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
