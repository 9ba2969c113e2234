#include "command/printer/OrvoLinePrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoLinePrinterPageModeBuilder::beginPageMode() {}

void OrvoLinePrinterPageModeBuilder::endPageMode(bool) {}

void OrvoLinePrinterPageModeBuilder::stylePrintDirection(PrintDirection) {}

void OrvoLinePrinterPageModeBuilder::styleVerticalPositionBy(double) {}

void OrvoLinePrinterPageModeBuilder::styleVerticalPositionTo(double) {}

void OrvoLinePrinterPageModeBuilder::appendRuledLine(double, double, double, double, double, LineStyle) {}

void OrvoLinePrinterPageModeBuilder::appendRectangle(double, double, double, double, double, LineStyle, bool,
                                                     double) {}

void OrvoLinePrinterPageModeBuilder::appendImage(const std::string&, double, double, int, int) {}

void OrvoLinePrinterPageModeBuilder::appendArea(double, double, double, double) {}

void OrvoLinePrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void OrvoLinePrinterPageModeBuilder::appendBarcode(BarcodeType, const std::string&, bool, int, BarRatioLevel,
                                                   double) {}

void OrvoLinePrinterPageModeBuilder::appendImage(const std::string&, int, int) {}

void OrvoLinePrinterPageModeBuilder::appendCut(CutType) {}

void OrvoLinePrinterPageModeBuilder::appendLineFeed(int) {}

void OrvoLinePrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void OrvoLinePrinterPageModeBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) {}

void OrvoLinePrinterPageModeBuilder::appendQrCode(const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel,
                                                  int) {}

void OrvoLinePrinterPageModeBuilder::appendUnitFeed(double) {}

void OrvoLinePrinterPageModeBuilder::appendSeparatorFeed() {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationBold(bool) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationUnderLine(bool) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationInvert(bool) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationFont(FontType) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationCharacterSpace(double) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationLineSpace(double) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationExpansionRate(int, int) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void OrvoLinePrinterPageModeBuilder::appendHorizontalPositionBy(double) {}

void OrvoLinePrinterPageModeBuilder::appendHorizontalPositionTo(double) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void OrvoLinePrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void OrvoLinePrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoLinePrinterPageModeBuilder::appendText(const std::string&, TextWidthParameter) {}

}  // namespace PrinterCommandBuilder::Printer
