#include "command/printer/OrvoDotImpactPrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoDotImpactPrinterPageModeBuilder::beginPageMode() {}

void OrvoDotImpactPrinterPageModeBuilder::endPageMode(bool) {}

void OrvoDotImpactPrinterPageModeBuilder::stylePrintDirection(PrintDirection) {}

void OrvoDotImpactPrinterPageModeBuilder::styleVerticalPositionBy(double) {}

void OrvoDotImpactPrinterPageModeBuilder::styleVerticalPositionTo(double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendRuledLine(double, double, double, double, double, LineStyle) {
}

void OrvoDotImpactPrinterPageModeBuilder::appendRectangle(double, double, double, double, double, LineStyle,
                                                          bool, double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendImage(const std::string&, double, double, int, int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendArea(double, double, double, double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void OrvoDotImpactPrinterPageModeBuilder::appendBarcode(BarcodeType, const std::string&, bool, int,
                                                        BarRatioLevel, double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendImage(const std::string&, int, int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendCut(CutType) {}

void OrvoDotImpactPrinterPageModeBuilder::appendLineFeed(int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int,
                                                       int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendQrCode(const std::string&, QrCodeModel,
                                                       QrCodeErrorCorrectionLevel, int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendUnitFeed(double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendSeparatorFeed() {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationBold(bool) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationUnderLine(bool) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationInvert(bool) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationInternationalCharacter(
    InternationalCharacterType) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationFont(FontType) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationCharacterSpace(double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationLineSpace(double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationExpansionRate(int, int) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void OrvoDotImpactPrinterPageModeBuilder::appendHorizontalPositionBy(double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendHorizontalPositionTo(double) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(
    const std::vector<int>&) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(
    const std::vector<Encode>&) {}

void OrvoDotImpactPrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void OrvoDotImpactPrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoDotImpactPrinterPageModeBuilder::appendText(const std::string&, TextWidthParameter) {}

}  // namespace PrinterCommandBuilder::Printer
