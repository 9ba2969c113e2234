#include "prelix10/command/display/Contrast.hpp"

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void Contrast::orvoCommon(ByteBuffer* buffer, ContrastValue value) {
    const int raw = static_cast<int>(value);
    const int level = raw >= 0 && raw <= 6 ? 6 - raw : 3;
    const char bytes[] = {0x1B, 0x5C, 0x3F, 0x4C, 0x44, static_cast<char>(level), 0x03};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void Contrast::kestrin(ByteBuffer* buffer, ContrastValue value) {
    orvoCommon(buffer, value);
}

void Contrast::orvoGraphic(ByteBuffer* buffer, ContrastValue value) {
    orvoCommon(buffer, value);
}

// The other emulations drive no customer display.
void Contrast::orvoLine(ByteBuffer*, ContrastValue) {}

void Contrast::orvoDotImpact(ByteBuffer*, ContrastValue) {}

void Contrast::orvoYalme1(ByteBuffer*, ContrastValue) {}

void Contrast::escpos(ByteBuffer*, ContrastValue) {}

void Contrast::escposMobile(ByteBuffer*, ContrastValue) {}

}  // namespace PrinterCommandBuilder::Display
