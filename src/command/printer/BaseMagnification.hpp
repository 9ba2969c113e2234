#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Base character magnification.
class BaseMagnification {
  public:
    static void orvoCommon(ByteBuffer* buffer, BaseMagnificationType type, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, BaseMagnificationType type,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, BaseMagnificationType type, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
