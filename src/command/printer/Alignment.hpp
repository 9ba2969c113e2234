#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Line alignment.
class Alignment {
  public:
    static void orvoCommon(ByteBuffer* buffer, AlignmentType type, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, AlignmentType type, PrintSettingsInformation* settings,
                             PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, AlignmentType type, PrintSettingsInformation* settings,
                            PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, AlignmentType type, PrintSettingsInformation* settings,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
