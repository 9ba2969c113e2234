#pragma once

#include <string>

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// QR symbol.
class QrCode {
  public:
    static void orvoCommon(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                           QrCodeErrorCorrectionLevel level, int cellSize, PrintSettingsInformation* settings,
                           PrinterModel model);
    static void escpos(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                       QrCodeErrorCorrectionLevel level, int cellSize, PrintSettingsInformation* settings);
    static void escposMobile(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                             QrCodeErrorCorrectionLevel level, int cellSize,
                             PrintSettingsInformation* settings);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                            QrCodeErrorCorrectionLevel level, int cellSize,
                            PrintSettingsInformation* settings);
    static void orvoDotImpact(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                              QrCodeErrorCorrectionLevel level, int cellSize,
                              PrintSettingsInformation* settings);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                           QrCodeErrorCorrectionLevel level, int cellSize,
                           PrintSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Printer
