#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PageModeAreaSize.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Set the page-mode area or open an element band.
class PageModeArea {
  public:
    static void orvoCommon(ByteBuffer* buffer, AreaType type, double x, double y, double width, double height,
                           PrintSettingsInformation* settings, PrintSettingsInformation* enclosing,
                           PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, AreaType type, double x, double y, double width,
                              double height, PrintSettingsInformation* settings,
                              PrintSettingsInformation* enclosing, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, AreaType type, double x, double y, double width,
                            double height, PrintSettingsInformation* settings,
                            PrintSettingsInformation* enclosing, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, AreaType type, double x, double y, double width, double height,
                           PrintSettingsInformation* settings, PrintSettingsInformation* enclosing,
                           PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, AreaType type, double x, double y, double width,
                             double height, PrintSettingsInformation* settings,
                             PrintSettingsInformation* enclosing, PrinterModel model);
    static PageModeAreaSize createAdjustedAreaSize(AreaType type, double x, double y, double width,
                                                   double height, const PrintSettingsInformation* enclosing,
                                                   PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
