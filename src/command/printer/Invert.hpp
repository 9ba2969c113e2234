#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

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
