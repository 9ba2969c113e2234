#include "command/printer/Rectangle.hpp"

namespace PrinterCommandBuilder::Printer {

void Rectangle::orvoPageModeCommon(ByteBuffer*, double, double, double, double, double, LineStyle, bool,
                                   double, PrintSettingsInformation*, PrinterModel) {}

void Rectangle::roundCornerLineOrvoPageModeCommon(ByteBuffer*, CornerPosition, LineStyle,
                                                  PrintSettingsInformation*, PrinterModel, double, double,
                                                  double, double) {}

std::vector<std::vector<bool>> Rectangle::createRoundCornerImage(CornerPosition, LineStyle, int, double) {
    return {};
}

}  // namespace PrinterCommandBuilder::Printer
