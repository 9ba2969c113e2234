#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
