#include "command/printer/EscposMobilePrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void EscposMobilePrinterPageModeBuilder::beginPageMode() {}

void EscposMobilePrinterPageModeBuilder::endPageMode(bool) {}

void EscposMobilePrinterPageModeBuilder::stylePrintDirection(PrintDirection) {}

void EscposMobilePrinterPageModeBuilder::styleVerticalPositionBy(double) {}

void EscposMobilePrinterPageModeBuilder::styleVerticalPositionTo(double) {}

void EscposMobilePrinterPageModeBuilder::appendRuledLine(double, double, double, double, double, LineStyle) {}

void EscposMobilePrinterPageModeBuilder::appendRectangle(double, double, double, double, double, LineStyle,
                                                         bool, double) {}

void EscposMobilePrinterPageModeBuilder::appendImage(const std::string&, double, double, int, int) {}

void EscposMobilePrinterPageModeBuilder::appendArea(double, double, double, double) {}

void EscposMobilePrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void EscposMobilePrinterPageModeBuilder::appendBarcode(BarcodeType, const std::string&, bool, int,
                                                       BarRatioLevel, double) {}

void EscposMobilePrinterPageModeBuilder::appendImage(const std::string&, int, int) {}

void EscposMobilePrinterPageModeBuilder::appendCut(CutType) {}

void EscposMobilePrinterPageModeBuilder::appendLineFeed(int) {}

void EscposMobilePrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void EscposMobilePrinterPageModeBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int,
                                                      int) {}

void EscposMobilePrinterPageModeBuilder::appendQrCode(const std::string&, QrCodeModel,
                                                      QrCodeErrorCorrectionLevel, int) {}

void EscposMobilePrinterPageModeBuilder::appendUnitFeed(double) {}

void EscposMobilePrinterPageModeBuilder::appendSeparatorFeed() {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationBold(bool) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationUnderLine(bool) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationInvert(bool) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationInternationalCharacter(
    InternationalCharacterType) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationFont(FontType) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationCharacterSpace(double) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationLineSpace(double) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationExpansionRate(int, int) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void EscposMobilePrinterPageModeBuilder::appendHorizontalPositionBy(double) {}

void EscposMobilePrinterPageModeBuilder::appendHorizontalPositionTo(double) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {
}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(
    const std::vector<Encode>&) {}

void EscposMobilePrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void EscposMobilePrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void EscposMobilePrinterPageModeBuilder::appendText(const std::string&, TextWidthParameter) {}

}  // namespace PrinterCommandBuilder::Printer
