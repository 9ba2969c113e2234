#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Display international character set.
class InternationalCharacter {
  public:
    static void orvoCommon(ByteBuffer* buffer, InternationalCharacterType type);
    static void kestrin(ByteBuffer* buffer, InternationalCharacterType type);
    static void orvoGraphic(ByteBuffer* buffer, InternationalCharacterType type);
    static void orvoLine(ByteBuffer* buffer, InternationalCharacterType type);
    static void orvoDotImpact(ByteBuffer* buffer, InternationalCharacterType type);
    static void orvoYalme1(ByteBuffer* buffer, InternationalCharacterType type);
    static void escpos(ByteBuffer* buffer, InternationalCharacterType type);
    static void escposMobile(ByteBuffer* buffer, InternationalCharacterType type);
};

}  // namespace PrinterCommandBuilder::Display
