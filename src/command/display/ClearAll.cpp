#include "command/display/ClearAll.hpp"

namespace PrinterCommandBuilder::Display {

void ClearAll::orvoCommon(ByteBuffer*) {}

void ClearAll::kestrin(ByteBuffer*) {}

void ClearAll::orvoGraphic(ByteBuffer*) {}

void ClearAll::orvoLine(ByteBuffer*) {}

void ClearAll::orvoDotImpact(ByteBuffer*) {}

void ClearAll::orvoYalme1(ByteBuffer*) {}

void ClearAll::escpos(ByteBuffer*) {}

void ClearAll::escposMobile(ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::Display
