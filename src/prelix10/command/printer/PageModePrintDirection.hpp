#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Page-mode print direction.
class PageModePrintDirection {
  public:
    static void orvoCommon(ByteBuffer* buffer, PrintDirection direction, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, PrintDirection direction,
                              PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, PrintDirection direction, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, PrintDirection direction, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, PrintDirection direction, PrintSettingsInformation* settings,
                             PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
