#include "command/printer/BaseMagnification.hpp"

namespace PrinterCommandBuilder::Printer {

void BaseMagnification::orvoCommon(ByteBuffer*, BaseMagnificationType, PrintSettingsInformation*,
                                   PrinterModel) {}

void BaseMagnification::orvoGraphic(ByteBuffer*, BaseMagnificationType, PrintSettingsInformation*,
                                    PrinterModel) {}

void BaseMagnification::orvoYalme1(ByteBuffer*, BaseMagnificationType, PrintSettingsInformation*,
                                   PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
