#include "prelix10/command/display/InternationalCharacter.hpp"

#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void InternationalCharacter::orvoCommon(ByteBuffer* buffer, InternationalCharacterType type) {
    const int raw = static_cast<int>(type);
    const char bytes[] = {0x1B, 0x52, static_cast<char>(raw >= 0 && raw <= 13 ? raw : 0)};
    Converter::savePrinterCommand(bytes, sizeof bytes, buffer);
}

void InternationalCharacter::kestrin(ByteBuffer* buffer, InternationalCharacterType type) {
    orvoCommon(buffer, type);
}

void InternationalCharacter::orvoGraphic(ByteBuffer* buffer, InternationalCharacterType type) {
    orvoCommon(buffer, type);
}

// The other emulations drive no customer display.
void InternationalCharacter::orvoLine(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::orvoDotImpact(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::orvoYalme1(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::escpos(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::escposMobile(ByteBuffer*, InternationalCharacterType) {}

}  // namespace PrinterCommandBuilder::Display
