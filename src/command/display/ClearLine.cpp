#include "command/display/ClearLine.hpp"

namespace PrinterCommandBuilder::Display {

void ClearLine::orvoCommon(ByteBuffer*) {}

void ClearLine::kestrin(ByteBuffer*) {}

void ClearLine::orvoGraphic(ByteBuffer*) {}

void ClearLine::orvoLine(ByteBuffer*) {}

void ClearLine::orvoDotImpact(ByteBuffer*) {}

void ClearLine::orvoYalme1(ByteBuffer*) {}

void ClearLine::escpos(ByteBuffer*) {}

void ClearLine::escposMobile(ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::Display
