#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// White-on-black on or off.
class Invert {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
