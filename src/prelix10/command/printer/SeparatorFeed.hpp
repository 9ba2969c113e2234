#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
