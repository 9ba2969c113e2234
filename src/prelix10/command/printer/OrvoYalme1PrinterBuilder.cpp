#include "prelix10/command/printer/OrvoYalme1PrinterBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoYalme1PrinterBuilder::appendCalculatePitch() {}

void OrvoYalme1PrinterBuilder::appendArea(double, double, double, double) {}

void OrvoYalme1PrinterBuilder::appendAlignment(AlignmentType) {}

void OrvoYalme1PrinterBuilder::appendBarcode(BarcodeType, const std::string&, bool, int, BarRatioLevel,
                                             double) {}

void OrvoYalme1PrinterBuilder::appendImage(std::string_view, int, int) {}

void OrvoYalme1PrinterBuilder::appendCut(CutType) {}

void OrvoYalme1PrinterBuilder::appendLineFeed(int) {}

void OrvoYalme1PrinterBuilder::appendLogo(const std::string&, int, int) {}

void OrvoYalme1PrinterBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) {}

void OrvoYalme1PrinterBuilder::appendQrCode(const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel,
                                            int) {}

void OrvoYalme1PrinterBuilder::appendUnitFeed(double) {}

void OrvoYalme1PrinterBuilder::appendSeparatorFeed() {}

void OrvoYalme1PrinterBuilder::appendTextDecorationBold(bool) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationUnderLine(bool) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationInvert(bool) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationFont(FontType) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationCharacterSpace(double) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationLineSpace(double) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationExpansionRate(int, int) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void OrvoYalme1PrinterBuilder::appendHorizontalPositionBy(double) {}

void OrvoYalme1PrinterBuilder::appendHorizontalPositionTo(double) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void OrvoYalme1PrinterBuilder::appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType) {}

void OrvoYalme1PrinterBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoYalme1PrinterBuilder::appendText(const std::string&, TextWidthParameter) {}

void OrvoYalme1PrinterBuilder::appendRuledLine(double, double, double, LineStyle) {}

}  // namespace PrinterCommandBuilder::Printer
