#include "command/printer/EscposPrinterPageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

void EscposPrinterPageModeBuilder::beginPageMode() {}

void EscposPrinterPageModeBuilder::endPageMode(bool) {}

void EscposPrinterPageModeBuilder::stylePrintDirection(PrintDirection) {}

void EscposPrinterPageModeBuilder::styleVerticalPositionBy(double) {}

void EscposPrinterPageModeBuilder::styleVerticalPositionTo(double) {}

void EscposPrinterPageModeBuilder::appendRuledLine(double, double, double, double, double, LineStyle) {}

void EscposPrinterPageModeBuilder::appendRectangle(double, double, double, double, double, LineStyle, bool,
                                                   double) {}

void EscposPrinterPageModeBuilder::appendImage(const std::string&, double, double, int, int) {}

void EscposPrinterPageModeBuilder::appendArea(double, double, double, double) {}

void EscposPrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void EscposPrinterPageModeBuilder::appendBarcode(BarcodeType, const std::string&, bool, int, BarRatioLevel,
                                                 double) {}

void EscposPrinterPageModeBuilder::appendImage(const std::string&, int, int) {}

void EscposPrinterPageModeBuilder::appendCut(CutType) {}

void EscposPrinterPageModeBuilder::appendLineFeed(int) {}

void EscposPrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void EscposPrinterPageModeBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) {}

void EscposPrinterPageModeBuilder::appendQrCode(const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel,
                                                int) {}

void EscposPrinterPageModeBuilder::appendUnitFeed(double) {}

void EscposPrinterPageModeBuilder::appendSeparatorFeed() {}

void EscposPrinterPageModeBuilder::appendTextDecorationBold(bool) {}

void EscposPrinterPageModeBuilder::appendTextDecorationUnderLine(bool) {}

void EscposPrinterPageModeBuilder::appendTextDecorationInvert(bool) {}

void EscposPrinterPageModeBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType) {}

void EscposPrinterPageModeBuilder::appendTextDecorationFont(FontType) {}

void EscposPrinterPageModeBuilder::appendTextDecorationCharacterSpace(double) {}

void EscposPrinterPageModeBuilder::appendTextDecorationLineSpace(double) {}

void EscposPrinterPageModeBuilder::appendTextDecorationExpansionRate(int, int) {}

void EscposPrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode) {}

void EscposPrinterPageModeBuilder::appendHorizontalPositionBy(double) {}

void EscposPrinterPageModeBuilder::appendHorizontalPositionTo(double) {}

void EscposPrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {}

void EscposPrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void EscposPrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void EscposPrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void EscposPrinterPageModeBuilder::appendText(const std::string&, TextWidthParameter) {}

}  // namespace PrinterCommandBuilder::Printer
