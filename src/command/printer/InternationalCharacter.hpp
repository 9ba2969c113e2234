#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// International character set.
class InternationalCharacter {
  public:
    static void orvoCommon(ByteBuffer* buffer, InternationalCharacterType type,
                           PrintSettingsInformation* settings, PrinterModel model);
    static void escpos(ByteBuffer* buffer, InternationalCharacterType type,
                       PrintSettingsInformation* settings, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, InternationalCharacterType type,
                             PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, InternationalCharacterType type,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, InternationalCharacterType type,
                           PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
