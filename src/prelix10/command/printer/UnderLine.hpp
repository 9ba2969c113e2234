#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Underline on or off.
class UnderLine {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escpos(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                       PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
