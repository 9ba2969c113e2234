#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
