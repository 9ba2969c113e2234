#include "prelix10/command/printer/OrvoGraphicPrinterBuilder.hpp"

#include "prelix10/command/printer/Cut.hpp"
#include "prelix10/command/printer/Image.hpp"
#include "prelix10/command/printer/LineFeed.hpp"
#include "prelix10/command/printer/Pdf417.hpp"
#include "prelix10/command/printer/QrCode.hpp"
#include "prelix10/command/printer/RuledLine.hpp"
#include "prelix10/command/printer/SecondPriorityCharacterEncode.hpp"
#include "prelix10/command/printer/SeparatorFeed.hpp"
#include "prelix10/command/printer/UnitFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoGraphicPrinterBuilder::appendCalculatePitch() {}

void OrvoGraphicPrinterBuilder::appendArea(double, double, double, double) {}

void OrvoGraphicPrinterBuilder::appendAlignment(AlignmentType) {}

void OrvoGraphicPrinterBuilder::appendBarcode(BarcodeType, const std::string&, bool, int, BarRatioLevel,
                                              double) {}

void OrvoGraphicPrinterBuilder::appendImage(std::string_view source, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Image::orvoGraphic(buffer_, source, width, height, settings);
}

void OrvoGraphicPrinterBuilder::appendCut(CutType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Cut::orvoGraphic(buffer_, type, settings, model_);
}

void OrvoGraphicPrinterBuilder::appendLineFeed(int lines) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineFeed::orvoGraphic(buffer_, lines, settings, model_);
}

void OrvoGraphicPrinterBuilder::appendLogo(const std::string&, int, int) {}

void OrvoGraphicPrinterBuilder::appendPdf417(const std::string& content, int line, int column,
                                             Pdf417EccLevel level, int module, int aspect) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Pdf417::orvoGraphic(buffer_, content, line, column, level, module, aspect, settings);
}

void OrvoGraphicPrinterBuilder::appendQrCode(const std::string& content, QrCodeModel qrModel,
                                             QrCodeErrorCorrectionLevel level, int cellSize) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    QrCode::orvoGraphic(buffer_, content, qrModel, level, cellSize, settings);
}

void OrvoGraphicPrinterBuilder::appendUnitFeed(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnitFeed::orvoGraphic(buffer_, mm, settings, model_);
}

void OrvoGraphicPrinterBuilder::appendSeparatorFeed() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SeparatorFeed::orvoCommon(buffer_, settings, model_);
}

void OrvoGraphicPrinterBuilder::appendTextDecorationBold(bool) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationUnderLine(bool) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationInvert(bool) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationFont(FontType) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationCharacterSpace(double) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationLineSpace(double) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationExpansionRate(int, int) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode encode) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SecondPriorityCharacterEncode::orvoGraphic(buffer_, encode, settings, model_);
}

void OrvoGraphicPrinterBuilder::appendHorizontalPositionBy(double) {}

void OrvoGraphicPrinterBuilder::appendHorizontalPositionTo(double) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>&) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void OrvoGraphicPrinterBuilder::appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType) {
}

void OrvoGraphicPrinterBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoGraphicPrinterBuilder::appendText(const std::string&, TextWidthParameter) {}

void OrvoGraphicPrinterBuilder::appendRuledLine(double x, double width, double thickness,
                                                LineStyle lineStyle) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    RuledLine::orvoGraphic(buffer_, x, width, thickness, lineStyle, settings, model_);
}

}  // namespace PrinterCommandBuilder::Printer
