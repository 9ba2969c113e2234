#include "command/printer/InternationalCharacter.hpp"

namespace PrinterCommandBuilder::Printer {

void InternationalCharacter::orvoCommon(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                        PrinterModel) {}

void InternationalCharacter::escpos(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                    PrinterModel) {}

void InternationalCharacter::escposMobile(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                          PrinterModel) {}

void InternationalCharacter::orvoGraphic(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                         PrinterModel) {}

void InternationalCharacter::orvoYalme1(ByteBuffer*, InternationalCharacterType, PrintSettingsInformation*,
                                        PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
