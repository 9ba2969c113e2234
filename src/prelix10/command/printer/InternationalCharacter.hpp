#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
