#include "command/printer/OrvoGraphicPrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoGraphicPrinterPageModeBuilder::beginPageMode() {}

void OrvoGraphicPrinterPageModeBuilder::endPageMode(bool) {}

void OrvoGraphicPrinterPageModeBuilder::stylePrintDirection(PrintDirection) {}

void OrvoGraphicPrinterPageModeBuilder::styleVerticalPositionBy(double) {}

void OrvoGraphicPrinterPageModeBuilder::styleVerticalPositionTo(double) {}

void OrvoGraphicPrinterPageModeBuilder::appendRuledLine(double, double, double, double, double, LineStyle) {}

void OrvoGraphicPrinterPageModeBuilder::appendRectangle(double, double, double, double, double, LineStyle,
                                                        bool, double) {}

void OrvoGraphicPrinterPageModeBuilder::appendImage(const std::string&, double, double, int, int) {}

void OrvoGraphicPrinterPageModeBuilder::appendArea(double, double, double, double) {}

void OrvoGraphicPrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void OrvoGraphicPrinterPageModeBuilder::appendBarcode(BarcodeType, const std::string&, bool, int,
                                                      BarRatioLevel, double) {}

void OrvoGraphicPrinterPageModeBuilder::appendImage(const std::string&, int, int) {}

void OrvoGraphicPrinterPageModeBuilder::appendCut(CutType) {}

void OrvoGraphicPrinterPageModeBuilder::appendLineFeed(int) {}

void OrvoGraphicPrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void OrvoGraphicPrinterPageModeBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) {
}

void OrvoGraphicPrinterPageModeBuilder::appendQrCode(const std::string&, QrCodeModel,
                                                     QrCodeErrorCorrectionLevel, int) {}

void OrvoGraphicPrinterPageModeBuilder::appendUnitFeed(double) {}

void OrvoGraphicPrinterPageModeBuilder::appendSeparatorFeed() {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationBold(bool) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationUnderLine(bool) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationInvert(bool) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationInternationalCharacter(
    InternationalCharacterType) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationFont(FontType) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationCharacterSpace(double) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationLineSpace(double) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationExpansionRate(int, int) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void OrvoGraphicPrinterPageModeBuilder::appendHorizontalPositionBy(double) {}

void OrvoGraphicPrinterPageModeBuilder::appendHorizontalPositionTo(double) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {
}

void OrvoGraphicPrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void OrvoGraphicPrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoGraphicPrinterPageModeBuilder::appendText(const std::string&, TextWidthParameter) {}

}  // namespace PrinterCommandBuilder::Printer
