#include "prelix10/command/printer/KestrinPrinterPageModeBuilder.hpp"

#include "prelix10/command/printer/AmbiguousWidthType.hpp"
#include "prelix10/command/printer/BaseMagnification.hpp"
#include "prelix10/command/printer/Image.hpp"
#include "prelix10/command/printer/PageModeArea.hpp"
#include "prelix10/command/printer/PageModeEnd.hpp"
#include "prelix10/command/printer/PageModePrintDirection.hpp"
#include "prelix10/command/printer/PageModeStart.hpp"
#include "prelix10/command/printer/Rectangle.hpp"
#include "prelix10/command/printer/RuledLine.hpp"
#include "prelix10/command/printer/VerticalPositionBy.hpp"
#include "prelix10/command/printer/VerticalPositionTo.hpp"

namespace PrinterCommandBuilder::Printer {

void KestrinPrinterPageModeBuilder::beginPageMode() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    PageModeStart::orvoCommon(buffer_, settings, model_);
}

void KestrinPrinterPageModeBuilder::endPageMode(bool areaValid) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    PageModeEnd::orvoCommon(buffer_, areaValid, settings, model_);
}

void KestrinPrinterPageModeBuilder::stylePrintDirection(PrintDirection direction) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    PageModePrintDirection::orvoCommon(buffer_, direction, settings, model_);
}

void KestrinPrinterPageModeBuilder::styleVerticalPositionBy(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    VerticalPositionBy::orvoCommon(buffer_, mm, settings, model_);
}

void KestrinPrinterPageModeBuilder::styleVerticalPositionTo(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    VerticalPositionTo::orvoCommon(buffer_, mm, settings, model_);
}

void KestrinPrinterPageModeBuilder::appendRuledLine(double x1, double y1, double x2, double y2,
                                                    double thickness, LineStyle lineStyle) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    RuledLine::orvoPageModeCommon(buffer_, x1, y1, x2, y2, thickness, lineStyle, settings, model_);
}

void KestrinPrinterPageModeBuilder::appendRectangle(double x, double y, double width, double height,
                                                    double thickness, LineStyle lineStyle, bool roundCorner,
                                                    double cornerRadius) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Rectangle::orvoPageModeCommon(buffer_, x, y, width, height, thickness, lineStyle, roundCorner,
                                  cornerRadius, settings, model_);
}

void KestrinPrinterPageModeBuilder::appendImage(std::string_view source, double x, double y, int width,
                                                int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Image::orvoPageModeCommon(buffer_, source, x, y, width, height, settings, model_);
}

void KestrinPrinterPageModeBuilder::appendArea(double x, double y, double width, double height) {
    auto* settings = currentSettings();
    auto* enclosing = enclosingSettings();
    // An area belongs to a page-mode level, which always has a printer level below it.
    if (settings == nullptr || enclosing == nullptr) return;
    PageModeArea::orvoCommon(buffer_, AreaType::Page, x, y, width, height, settings, enclosing, model_);
}

void KestrinPrinterPageModeBuilder::appendAlignment(AlignmentType) {}

void KestrinPrinterPageModeBuilder::appendBarcode(BarcodeType type, const std::string& content, bool hri,
                                                  int barDots, BarRatioLevel barRatioLevel, double height) {
    KestrinPrinterBuilder::appendBarcode(type, content, hri, barDots, barRatioLevel, height);
}

void KestrinPrinterPageModeBuilder::appendImage(std::string_view, int, int) {}

void KestrinPrinterPageModeBuilder::appendCut(CutType) {}

void KestrinPrinterPageModeBuilder::appendLineFeed(int lines) {
    KestrinPrinterBuilder::appendLineFeed(lines);
}

void KestrinPrinterPageModeBuilder::appendLogo(const std::string&, int, int) {}

void KestrinPrinterPageModeBuilder::appendPdf417(const std::string& content, int line, int column,
                                                 Pdf417EccLevel level, int module, int aspect) {
    KestrinPrinterBuilder::appendPdf417(content, line, column, level, module, aspect);
}

void KestrinPrinterPageModeBuilder::appendQrCode(const std::string& content, QrCodeModel qrModel,
                                                 QrCodeErrorCorrectionLevel level, int cellSize) {
    KestrinPrinterBuilder::appendQrCode(content, qrModel, level, cellSize);
}

void KestrinPrinterPageModeBuilder::appendUnitFeed(double mm) {
    KestrinPrinterBuilder::appendUnitFeed(mm);
}

void KestrinPrinterPageModeBuilder::appendSeparatorFeed() {}

void KestrinPrinterPageModeBuilder::appendTextDecorationBold(bool enable) {
    KestrinPrinterBuilder::appendTextDecorationBold(enable);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationUnderLine(bool enable) {
    KestrinPrinterBuilder::appendTextDecorationUnderLine(enable);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationInvert(bool enable) {
    KestrinPrinterBuilder::appendTextDecorationInvert(enable);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationInternationalCharacter(
    InternationalCharacterType type) {
    KestrinPrinterBuilder::appendTextDecorationInternationalCharacter(type);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationFont(FontType type) {
    KestrinPrinterBuilder::appendTextDecorationFont(type);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationCharacterSpace(double mm) {
    KestrinPrinterBuilder::appendTextDecorationCharacterSpace(mm);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationLineSpace(double mm) {
    KestrinPrinterBuilder::appendTextDecorationLineSpace(mm);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationExpansionRate(int width, int height) {
    KestrinPrinterBuilder::appendTextDecorationExpansionRate(width, height);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode encode) {
    KestrinPrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(encode);
}

void KestrinPrinterPageModeBuilder::appendHorizontalPositionBy(double mm) {
    KestrinPrinterBuilder::appendHorizontalPositionBy(mm);
}

void KestrinPrinterPageModeBuilder::appendHorizontalPositionTo(double mm) {
    KestrinPrinterBuilder::appendHorizontalPositionTo(mm);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationHorizontalTabPositions(
    const std::vector<int>& positions) {
    KestrinPrinterBuilder::appendTextDecorationHorizontalTabPositions(positions);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationCjkCharacterPriority(
    const std::vector<Encode>& priority) {
    KestrinPrinterBuilder::appendTextDecorationCjkCharacterPriority(priority);
}

void KestrinPrinterPageModeBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    AmbiguousWidthType::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterPageModeBuilder::appendDecorationBaseMagnification(BaseMagnificationType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    BaseMagnification::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterPageModeBuilder::appendText(const std::string& content,
                                               TextWidthParameter widthParameter) {
    KestrinPrinterBuilder::appendText(content, widthParameter);
}

}  // namespace PrinterCommandBuilder::Printer
