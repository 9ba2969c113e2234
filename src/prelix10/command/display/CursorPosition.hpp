#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Cursor position, column and line from 0.
class CursorPosition {
  public:
    static void orvoCommon(ByteBuffer* buffer, int x, int y);
    static void kestrin(ByteBuffer* buffer, int x, int y);
    static void orvoGraphic(ByteBuffer* buffer, int x, int y);
    static void orvoLine(ByteBuffer* buffer, int x, int y);
    static void orvoDotImpact(ByteBuffer* buffer, int x, int y);
    static void orvoYalme1(ByteBuffer* buffer, int x, int y);
    static void escpos(ByteBuffer* buffer, int x, int y);
    static void escposMobile(ByteBuffer* buffer, int x, int y);
};

}  // namespace PrinterCommandBuilder::Display
