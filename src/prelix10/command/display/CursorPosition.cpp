#include "prelix10/command/display/CursorPosition.hpp"

#include <algorithm>

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void CursorPosition::orvoCommon(ByteBuffer* buffer, int x, int y) {
    // Binary column and row numbers from 1, not digits.
    const char column = static_cast<char>(1 + std::clamp(x, 0, 19));
    const char row = static_cast<char>(1 + std::clamp(y, 0, 1));
    const char bytes[] = {0x1B, 0x5B, row, 0x3B, column, 0x48};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void CursorPosition::kestrin(ByteBuffer* buffer, int x, int y) {
    orvoCommon(buffer, x, y);
}

void CursorPosition::orvoGraphic(ByteBuffer* buffer, int x, int y) {
    orvoCommon(buffer, x, y);
}

// The other emulations drive no customer display.
void CursorPosition::orvoLine(ByteBuffer*, int, int) {}

void CursorPosition::orvoDotImpact(ByteBuffer*, int, int) {}

void CursorPosition::orvoYalme1(ByteBuffer*, int, int) {}

void CursorPosition::escpos(ByteBuffer*, int, int) {}

void CursorPosition::escposMobile(ByteBuffer*, int, int) {}

}  // namespace PrinterCommandBuilder::Display
