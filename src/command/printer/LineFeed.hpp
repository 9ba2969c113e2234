#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Line feeds.
class LineFeed {
  public:
    static void orvoCommon(ByteBuffer* buffer, int count, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, int count, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, int count, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, int count, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
