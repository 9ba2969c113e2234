#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
