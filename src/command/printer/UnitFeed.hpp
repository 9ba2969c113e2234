#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Paper feed by a length in millimetres.
class UnitFeed {
  public:
    static void orvoCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                              PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void escpos(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
