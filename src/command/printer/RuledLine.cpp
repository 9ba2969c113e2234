#include "command/printer/RuledLine.hpp"

namespace PrinterCommandBuilder::Printer {

void RuledLine::orvoCommon(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                           PrinterModel) {}

void RuledLine::orvoDotImpact(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                              PrinterModel) {}

void RuledLine::escpos(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                       PrinterModel) {}

void RuledLine::escposMobile(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                             PrinterModel) {}

void RuledLine::orvoGraphic(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                            PrinterModel) {}

void RuledLine::orvoYalme1(ByteBuffer*, double, double, double, LineStyle, PrintSettingsInformation*,
                           PrinterModel) {}

bool RuledLine::checkInvalidParameter(PrinterModel, double, double, double) {
    return false;
}

void RuledLine::orvoPageModeCommon(ByteBuffer*, double, double, double, double, double, LineStyle,
                                   PrintSettingsInformation*, PrinterModel) {}

void RuledLine::createSingleLineOrvoPageModeCommon(ByteBuffer*, double, double, double, double,
                                                   PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
