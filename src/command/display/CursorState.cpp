#include "command/display/CursorState.hpp"

namespace PrinterCommandBuilder::Display {

void CursorState::orvoCommon(ByteBuffer*, CursorStateValue) {}

void CursorState::kestrin(ByteBuffer*, CursorStateValue) {}

void CursorState::orvoGraphic(ByteBuffer*, CursorStateValue) {}

void CursorState::orvoLine(ByteBuffer*, CursorStateValue) {}

void CursorState::orvoDotImpact(ByteBuffer*, CursorStateValue) {}

void CursorState::orvoYalme1(ByteBuffer*, CursorStateValue) {}

void CursorState::escpos(ByteBuffer*, CursorStateValue) {}

void CursorState::escposMobile(ByteBuffer*, CursorStateValue) {}

}  // namespace PrinterCommandBuilder::Display
