#include "command/display/CharacterEncoding.hpp"

namespace PrinterCommandBuilder::Display {

void CharacterEncoding::orvoCommon(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::kestrin(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::orvoGraphic(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::orvoLine(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::orvoDotImpact(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::orvoYalme1(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::escpos(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

void CharacterEncoding::escposMobile(ByteBuffer*, Encode, DisplaySettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Display
