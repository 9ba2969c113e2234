#include "command/display/Contrast.hpp"

namespace PrinterCommandBuilder::Display {

void Contrast::orvoCommon(ByteBuffer*, ContrastValue) {}

void Contrast::kestrin(ByteBuffer*, ContrastValue) {}

void Contrast::orvoGraphic(ByteBuffer*, ContrastValue) {}

void Contrast::orvoLine(ByteBuffer*, ContrastValue) {}

void Contrast::orvoDotImpact(ByteBuffer*, ContrastValue) {}

void Contrast::orvoYalme1(ByteBuffer*, ContrastValue) {}

void Contrast::escpos(ByteBuffer*, ContrastValue) {}

void Contrast::escposMobile(ByteBuffer*, ContrastValue) {}

}  // namespace PrinterCommandBuilder::Display
