#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Enter page mode.
class PageModeStart {
  public:
    static void orvoCommon(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
