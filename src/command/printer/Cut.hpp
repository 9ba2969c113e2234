#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Paper cut.
class Cut {
  public:
    static void orvoCommon(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void escpos(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings,
                       PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
