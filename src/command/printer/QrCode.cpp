#include "command/printer/QrCode.hpp"

namespace PrinterCommandBuilder::Printer {

void QrCode::orvoCommon(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                        PrintSettingsInformation*, PrinterModel) {}

void QrCode::escpos(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                    PrintSettingsInformation*) {}

void QrCode::escposMobile(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                          PrintSettingsInformation*) {}

void QrCode::orvoGraphic(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                         PrintSettingsInformation*) {}

void QrCode::orvoDotImpact(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                           PrintSettingsInformation*) {}

void QrCode::orvoYalme1(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                        PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
