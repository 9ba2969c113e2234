#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
