#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
