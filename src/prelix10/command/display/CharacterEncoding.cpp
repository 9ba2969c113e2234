#include "prelix10/command/display/CharacterEncoding.hpp"

namespace PrinterCommandBuilder::Display {

void CharacterEncoding::orvoCommon(ByteBuffer*, Encode encode, DisplaySettingsInformation* settings) {
    if (settings != nullptr) settings->encode = encode;
}

void CharacterEncoding::kestrin(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings) {
    orvoCommon(buffer, encode, settings);
}

void CharacterEncoding::orvoGraphic(ByteBuffer* buffer, Encode encode, DisplaySettingsInformation* settings) {
    orvoCommon(buffer, encode, settings);
}

// The other emulations drive no customer display.
void CharacterEncoding::orvoLine(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::orvoDotImpact(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::orvoYalme1(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::escpos(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::escposMobile(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Display
