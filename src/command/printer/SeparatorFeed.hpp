#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Feed to the next separator (label gap or black mark).
class SeparatorFeed {
  public:
    static void orvoCommon(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void escpos(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
