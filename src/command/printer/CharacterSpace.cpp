#include "command/printer/CharacterSpace.hpp"

namespace PrinterCommandBuilder::Printer {

void CharacterSpace::orvoCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void CharacterSpace::orvoDotImpact(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void CharacterSpace::escposCommon(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void CharacterSpace::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void CharacterSpace::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
