#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
