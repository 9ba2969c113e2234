#include "command/display/InternationalCharacter.hpp"

namespace PrinterCommandBuilder::Display {

void InternationalCharacter::orvoCommon(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::kestrin(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::orvoGraphic(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::orvoLine(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::orvoDotImpact(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::orvoYalme1(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::escpos(ByteBuffer*, InternationalCharacterType) {}

void InternationalCharacter::escposMobile(ByteBuffer*, InternationalCharacterType) {}

}  // namespace PrinterCommandBuilder::Display
