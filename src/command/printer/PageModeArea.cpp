#include "command/printer/PageModeArea.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModeArea::orvoCommon(ByteBuffer*, AreaType, double, double, double, double,
                              PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::orvoDotImpact(ByteBuffer*, AreaType, double, double, double, double,
                                 PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::orvoGraphic(ByteBuffer*, AreaType, double, double, double, double,
                               PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::orvoYalme1(ByteBuffer*, AreaType, double, double, double, double,
                              PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

void PageModeArea::escposCommon(ByteBuffer*, AreaType, double, double, double, double,
                                PrintSettingsInformation*, PrintSettingsInformation*, PrinterModel) {}

PageModeAreaSize PageModeArea::createAdjustedAreaSize(AreaType, double, double, double, double,
                                                      const PrintSettingsInformation*, PrinterModel) {
    return {};
}

}  // namespace PrinterCommandBuilder::Printer
