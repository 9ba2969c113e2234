#include "prelix10/command/display/CursorState.hpp"

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void CursorState::orvoCommon(ByteBuffer* buffer, CursorStateValue value) {
    char state = 0x00;
    if (value == CursorStateValue::Blink) state = 0x01;
    if (value == CursorStateValue::On) state = 0x02;
    const char bytes[] = {0x1B, 0x5C, 0x3F, 0x4C, 0x43, state};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void CursorState::kestrin(ByteBuffer* buffer, CursorStateValue value) {
    orvoCommon(buffer, value);
}

void CursorState::orvoGraphic(ByteBuffer* buffer, CursorStateValue value) {
    orvoCommon(buffer, value);
}

// The other emulations drive no customer display.
void CursorState::orvoLine(ByteBuffer*, CursorStateValue) {}

void CursorState::orvoDotImpact(ByteBuffer*, CursorStateValue) {}

void CursorState::orvoYalme1(ByteBuffer*, CursorStateValue) {}

void CursorState::escpos(ByteBuffer*, CursorStateValue) {}

void CursorState::escposMobile(ByteBuffer*, CursorStateValue) {}

}  // namespace PrinterCommandBuilder::Display
