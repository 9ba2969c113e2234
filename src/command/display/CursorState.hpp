#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/display/DisplaySettingsInformation.hpp"
#include "command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Cursor off, on or blinking.
class CursorState {
  public:
    static void orvoCommon(ByteBuffer* buffer, CursorStateValue value);
    static void kestrin(ByteBuffer* buffer, CursorStateValue value);
    static void orvoGraphic(ByteBuffer* buffer, CursorStateValue value);
    static void orvoLine(ByteBuffer* buffer, CursorStateValue value);
    static void orvoDotImpact(ByteBuffer* buffer, CursorStateValue value);
    static void orvoYalme1(ByteBuffer* buffer, CursorStateValue value);
    static void escpos(ByteBuffer* buffer, CursorStateValue value);
    static void escposMobile(ByteBuffer* buffer, CursorStateValue value);
};

}  // namespace PrinterCommandBuilder::Display
