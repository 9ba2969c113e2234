#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

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
