#include "command/printer/Barcode.hpp"

namespace PrinterCommandBuilder::Printer {

void Barcode::orvoCommon(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                         PrintSettingsInformation*, PrinterModel, double) {}

void Barcode::orvoDotImpact(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                            PrintSettingsInformation*, double) {}

void Barcode::escpos(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                     PrintSettingsInformation*, double) {}

void Barcode::escposMobile(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                           PrintSettingsInformation*, double) {}

void Barcode::orvoGraphic(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                          PrintSettingsInformation*, double) {}

void Barcode::orvoYalme1(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                         PrintSettingsInformation*, double) {}

}  // namespace PrinterCommandBuilder::Printer
