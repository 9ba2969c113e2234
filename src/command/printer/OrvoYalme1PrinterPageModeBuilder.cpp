#include "command/printer/OrvoYalme1PrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoYalme1PrinterPageModeBuilder::beginPageMode() {}

void OrvoYalme1PrinterPageModeBuilder::endPageMode(bool) {}

void OrvoYalme1PrinterPageModeBuilder::stylePrintDirection(PrintDirection) {}

void OrvoYalme1PrinterPageModeBuilder::styleVerticalPositionBy(double) {}

void OrvoYalme1PrinterPageModeBuilder::styleVerticalPositionTo(double) {}

void OrvoYalme1PrinterPageModeBuilder::appendRuledLine(double, double, double, double, double, LineStyle) {}

void OrvoYalme1PrinterPageModeBuilder::appendRectangle(double, double, double, double, double, LineStyle,
                                                       bool, double) {}

void OrvoYalme1PrinterPageModeBuilder::appendImage(const std::string&, double, double, int, int) {}

void OrvoYalme1PrinterPageModeBuilder::appendArea(double, double, double, double) {}

void OrvoYalme1PrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void OrvoYalme1PrinterPageModeBuilder::appendBarcode(BarcodeType, const std::string&, bool, int,
                                                     BarRatioLevel, double) {}

void OrvoYalme1PrinterPageModeBuilder::appendImage(const std::string&, int, int) {}

void OrvoYalme1PrinterPageModeBuilder::appendCut(CutType) {}

void OrvoYalme1PrinterPageModeBuilder::appendLineFeed(int) {}

void OrvoYalme1PrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void OrvoYalme1PrinterPageModeBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) {}

void OrvoYalme1PrinterPageModeBuilder::appendQrCode(const std::string&, QrCodeModel,
                                                    QrCodeErrorCorrectionLevel, int) {}

void OrvoYalme1PrinterPageModeBuilder::appendUnitFeed(double) {}

void OrvoYalme1PrinterPageModeBuilder::appendSeparatorFeed() {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationBold(bool) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationUnderLine(bool) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationInvert(bool) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationInternationalCharacter(
    InternationalCharacterType) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationFont(FontType) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationCharacterSpace(double) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationLineSpace(double) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationExpansionRate(int, int) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void OrvoYalme1PrinterPageModeBuilder::appendHorizontalPositionBy(double) {}

void OrvoYalme1PrinterPageModeBuilder::appendHorizontalPositionTo(double) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void OrvoYalme1PrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void OrvoYalme1PrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoYalme1PrinterPageModeBuilder::appendText(const std::string&, TextWidthParameter) {}

}  // namespace PrinterCommandBuilder::Printer
