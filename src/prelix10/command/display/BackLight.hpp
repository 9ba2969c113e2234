#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Display back light on or off.
class BackLight {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool on);
    static void kestrin(ByteBuffer* buffer, bool on);
    static void orvoGraphic(ByteBuffer* buffer, bool on);
    static void orvoLine(ByteBuffer* buffer, bool on);
    static void orvoDotImpact(ByteBuffer* buffer, bool on);
    static void orvoYalme1(ByteBuffer* buffer, bool on);
    static void escpos(ByteBuffer* buffer, bool on);
    static void escposMobile(ByteBuffer* buffer, bool on);
};

}  // namespace PrinterCommandBuilder::Display
