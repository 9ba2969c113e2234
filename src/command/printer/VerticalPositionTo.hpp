#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Absolute vertical position in page mode, in millimetres.
class VerticalPositionTo {
  public:
    static void orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                              PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                             PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
