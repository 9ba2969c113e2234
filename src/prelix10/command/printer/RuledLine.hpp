#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Horizontal ruled line drawn as a small raster; also straight lines in page mode.
class RuledLine {
  public:
    static void orvoCommon(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                           PrintSettingsInformation* settings, PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, double x, double width, double thickness,
                              LineStyle lineStyle, PrintSettingsInformation* settings, PrinterModel model);
    static void escpos(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                       PrintSettingsInformation* settings, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, double x, double width, double thickness,
                             LineStyle lineStyle, PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, double x, double width, double thickness, LineStyle lineStyle,
                           PrintSettingsInformation* settings, PrinterModel model);
    static bool checkInvalidParameter(PrinterModel model, double x, double width, double thickness);
    static void orvoPageModeCommon(ByteBuffer* buffer, double x1, double y1, double x2, double y2,
                                   double thickness, LineStyle lineStyle, PrintSettingsInformation* settings,
                                   PrinterModel model);
    static void createSingleLineOrvoPageModeCommon(ByteBuffer* buffer, double x, double y, double width,
                                                   double height, PrintSettingsInformation* settings,
                                                   PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
