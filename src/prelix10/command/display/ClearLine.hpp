#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Clear the cursor's line.
class ClearLine {
  public:
    static void orvoCommon(ByteBuffer* buffer);
    static void kestrin(ByteBuffer* buffer);
    static void orvoGraphic(ByteBuffer* buffer);
    static void orvoLine(ByteBuffer* buffer);
    static void orvoDotImpact(ByteBuffer* buffer);
    static void orvoYalme1(ByteBuffer* buffer);
    static void escpos(ByteBuffer* buffer);
    static void escposMobile(ByteBuffer* buffer);
};

}  // namespace PrinterCommandBuilder::Display
