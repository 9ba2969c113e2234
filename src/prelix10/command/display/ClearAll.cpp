#include "prelix10/command/display/ClearAll.hpp"

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void ClearAll::orvoCommon(ByteBuffer* buffer) {
    const char bytes[] = {0x1B, 0x5B, 0x32, 0x4A};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void ClearAll::kestrin(ByteBuffer* buffer) {
    orvoCommon(buffer);
}

void ClearAll::orvoGraphic(ByteBuffer* buffer) {
    orvoCommon(buffer);
}

// The other emulations drive no customer display.
void ClearAll::orvoLine(ByteBuffer*) {}

void ClearAll::orvoDotImpact(ByteBuffer*) {}

void ClearAll::orvoYalme1(ByteBuffer*) {}

void ClearAll::escpos(ByteBuffer*) {}

void ClearAll::escposMobile(ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::Display
