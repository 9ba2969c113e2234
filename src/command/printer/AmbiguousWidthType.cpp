#include "command/printer/AmbiguousWidthType.hpp"

namespace PrinterCommandBuilder::Printer {

void AmbiguousWidthType::orvoCommon(ByteBuffer*, AmbiguousCharacterWidthType, PrintSettingsInformation*,
                                    PrinterModel) {}

void AmbiguousWidthType::orvoGraphic(ByteBuffer*, AmbiguousCharacterWidthType, PrintSettingsInformation*,
                                     PrinterModel) {}

void AmbiguousWidthType::orvoYalme1(ByteBuffer*, AmbiguousCharacterWidthType, PrintSettingsInformation*,
                                    PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
