#pragma once

#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Rectangles, optionally with round corners, inside a page-mode area.
class Rectangle {
  public:
    static void orvoPageModeCommon(ByteBuffer* buffer, double x, double y, double width, double height,
                                   double thickness, LineStyle lineStyle, bool roundCorner,
                                   double cornerRadius, PrintSettingsInformation* settings,
                                   PrinterModel model);
    static void roundCornerLineOrvoPageModeCommon(ByteBuffer* buffer, CornerPosition corner,
                                                  LineStyle lineStyle, PrintSettingsInformation* settings,
                                                  PrinterModel model, double x, double y, double thickness,
                                                  double radius);
    static std::vector<std::vector<bool>> createRoundCornerImage(CornerPosition corner, LineStyle lineStyle,
                                                                 int radius, double thickness);
};

}  // namespace PrinterCommandBuilder::Printer
