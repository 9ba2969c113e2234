#include "command/printer/PageModePrintDirection.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModePrintDirection::orvoCommon(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                        PrinterModel) {}

void PageModePrintDirection::orvoDotImpact(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                           PrinterModel) {}

void PageModePrintDirection::orvoGraphic(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                         PrinterModel) {}

void PageModePrintDirection::orvoYalme1(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                        PrinterModel) {}

void PageModePrintDirection::escposCommon(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                          PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
