#include "command/printer/CjkPriority.hpp"

namespace PrinterCommandBuilder::Printer {

void CjkPriority::orvoCommon(ByteBuffer*, const std::vector<Encode>&, PrintSettingsInformation*,
                             PrinterModel) {}

void CjkPriority::orvoGraphic(ByteBuffer*, const std::vector<Encode>&, PrintSettingsInformation*,
                              PrinterModel) {}

void CjkPriority::orvoYalme1(ByteBuffer*, const std::vector<Encode>&, PrintSettingsInformation*,
                             PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
