#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Leave page mode, printing the page when its area is valid.
class PageModeEnd {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool areaValid, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, bool areaValid, PrintSettingsInformation* settings,
                              PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, bool areaValid, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, bool areaValid, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, bool areaValid, PrintSettingsInformation* settings,
                             PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
