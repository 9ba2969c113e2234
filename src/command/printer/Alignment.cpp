#include "command/printer/Alignment.hpp"

namespace PrinterCommandBuilder::Printer {

void Alignment::orvoCommon(ByteBuffer*, AlignmentType, PrintSettingsInformation*, PrinterModel) {}

void Alignment::escposCommon(ByteBuffer*, AlignmentType, PrintSettingsInformation*, PrinterModel) {}

void Alignment::orvoGraphic(ByteBuffer*, AlignmentType, PrintSettingsInformation*, PrinterModel) {}

void Alignment::orvoYalme1(ByteBuffer*, AlignmentType, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
