#include "prelix10/command/display/BackLight.hpp"

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void BackLight::orvoCommon(ByteBuffer* buffer, bool on) {
    const char bytes[] = {0x1B, 0x5B, static_cast<char>(on ? 0x01 : 0x00), 0x50};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void BackLight::kestrin(ByteBuffer* buffer, bool on) {
    orvoCommon(buffer, on);
}

void BackLight::orvoGraphic(ByteBuffer* buffer, bool on) {
    orvoCommon(buffer, on);
}

// The other emulations drive no customer display.
void BackLight::orvoLine(ByteBuffer*, bool) {}

void BackLight::orvoDotImpact(ByteBuffer*, bool) {}

void BackLight::orvoYalme1(ByteBuffer*, bool) {}

void BackLight::escpos(ByteBuffer*, bool) {}

void BackLight::escposMobile(ByteBuffer*, bool) {}

}  // namespace PrinterCommandBuilder::Display
