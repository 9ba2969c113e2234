#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Motion units for the ESC/POS printers.
class SettingCalculatePitch {
  public:
    static void orvoCommon(ByteBuffer* buffer, PrintSettingsInformation* settings);
    static void orvoDotImpact(ByteBuffer* buffer, PrintSettingsInformation* settings);
    static void escpos(ByteBuffer* buffer, PrintSettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, PrintSettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, PrintSettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, PrintSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Printer
