#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// Display contrast.
class Contrast {
  public:
    static void orvoCommon(ByteBuffer* buffer, ContrastValue value);
    static void kestrin(ByteBuffer* buffer, ContrastValue value);
    static void orvoGraphic(ByteBuffer* buffer, ContrastValue value);
    static void orvoLine(ByteBuffer* buffer, ContrastValue value);
    static void orvoDotImpact(ByteBuffer* buffer, ContrastValue value);
    static void orvoYalme1(ByteBuffer* buffer, ContrastValue value);
    static void escpos(ByteBuffer* buffer, ContrastValue value);
    static void escposMobile(ByteBuffer* buffer, ContrastValue value);
};

}  // namespace PrinterCommandBuilder::Display
