#include "command/printer/HorizontalTabPositions.hpp"

namespace PrinterCommandBuilder::Printer {

void HorizontalTabPositions::kestrin(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                     PrinterModel) {}

void HorizontalTabPositions::orvoLine(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                      PrinterModel) {}

void HorizontalTabPositions::orvoDotImpact(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                           PrinterModel) {}

void HorizontalTabPositions::escposCommon(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                          PrinterModel) {}

void HorizontalTabPositions::orvoGraphic(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                         PrinterModel) {}

void HorizontalTabPositions::orvoYalme1(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                        PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
