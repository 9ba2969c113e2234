#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Records the display's text encoding; no bytes.
class CharacterEncoding {
  public:
    static void orvoCommon(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void kestrin(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void orvoLine(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void orvoDotImpact(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void escpos(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Display
