#include "command/display/CursorPosition.hpp"

namespace PrinterCommandBuilder::Display {

void CursorPosition::orvoCommon(ByteBuffer*, int, int) {}

void CursorPosition::kestrin(ByteBuffer*, int, int) {}

void CursorPosition::orvoGraphic(ByteBuffer*, int, int) {}

void CursorPosition::orvoLine(ByteBuffer*, int, int) {}

void CursorPosition::orvoDotImpact(ByteBuffer*, int, int) {}

void CursorPosition::orvoYalme1(ByteBuffer*, int, int) {}

void CursorPosition::escpos(ByteBuffer*, int, int) {}

void CursorPosition::escposMobile(ByteBuffer*, int, int) {}

}  // namespace PrinterCommandBuilder::Display
