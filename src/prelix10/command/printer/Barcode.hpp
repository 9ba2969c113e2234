#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// One-dimensional barcode.
class Barcode {
  public:
    static void orvoCommon(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                           int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                           PrinterModel model, double height);
    static void orvoDotImpact(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                              int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                              double height);
    static void escpos(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                       int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                       double height);
    static void escposMobile(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                             int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                             double height);
    static void orvoGraphic(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                            int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                            double height);
    static void orvoYalme1(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                           int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                           double height);
};

}  // namespace PrinterCommandBuilder::Printer
