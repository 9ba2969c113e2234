#include "prelix10/command/display/ClearLine.hpp"

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void ClearLine::orvoCommon(ByteBuffer* buffer) {
    const char bytes[] = {0x1B, 0x5B, 0x30, 0x4B};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void ClearLine::kestrin(ByteBuffer* buffer) {
    orvoCommon(buffer);
}

void ClearLine::orvoGraphic(ByteBuffer* buffer) {
    orvoCommon(buffer);
}

// The other emulations drive no customer display.
void ClearLine::orvoLine(ByteBuffer*) {}

void ClearLine::orvoDotImpact(ByteBuffer*) {}

void ClearLine::orvoYalme1(ByteBuffer*) {}

void ClearLine::escpos(ByteBuffer*) {}

void ClearLine::escposMobile(ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::Display
