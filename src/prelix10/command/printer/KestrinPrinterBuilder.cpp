#include "prelix10/command/printer/KestrinPrinterBuilder.hpp"

#include "prelix10/command/printer/Alignment.hpp"
#include "prelix10/command/printer/AmbiguousWidthType.hpp"
#include "prelix10/command/printer/Barcode.hpp"
#include "prelix10/command/printer/BaseMagnification.hpp"
#include "prelix10/command/printer/Bold.hpp"
#include "prelix10/command/printer/CharacterSpace.hpp"
#include "prelix10/command/printer/CjkPriority.hpp"
#include "prelix10/command/printer/Cut.hpp"
#include "prelix10/command/printer/ExpansionRate.hpp"
#include "prelix10/command/printer/Font.hpp"
#include "prelix10/command/printer/HorizontalPositionBy.hpp"
#include "prelix10/command/printer/HorizontalPositionTo.hpp"
#include "prelix10/command/printer/HorizontalTabPositions.hpp"
#include "prelix10/command/printer/Image.hpp"
#include "prelix10/command/printer/InternationalCharacter.hpp"
#include "prelix10/command/printer/Invert.hpp"
#include "prelix10/command/printer/LineFeed.hpp"
#include "prelix10/command/printer/LineSpace.hpp"
#include "prelix10/command/printer/Logo.hpp"
#include "prelix10/command/printer/Pdf417.hpp"
#include "prelix10/command/printer/QrCode.hpp"
#include "prelix10/command/printer/RuledLine.hpp"
#include "prelix10/command/printer/SecondPriorityCharacterEncode.hpp"
#include "prelix10/command/printer/SeparatorFeed.hpp"
#include "prelix10/command/printer/Text.hpp"
#include "prelix10/command/printer/UnderLine.hpp"
#include "prelix10/command/printer/UnitFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void KestrinPrinterBuilder::appendCalculatePitch() {}

void KestrinPrinterBuilder::appendArea(double, double, double, double) {}

void KestrinPrinterBuilder::appendAlignment(AlignmentType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Alignment::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterBuilder::appendBarcode(BarcodeType type, const std::string& content, bool hri, int barDots,
                                          BarRatioLevel barRatioLevel, double height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Barcode::orvoCommon(buffer_, type, content, hri, barDots, barRatioLevel, settings, model_, height);
}

void KestrinPrinterBuilder::appendImage(std::string_view source, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Image::kestrin(buffer_, source, width, height, settings, model_);
}

void KestrinPrinterBuilder::appendCut(CutType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Cut::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterBuilder::appendLineFeed(int lines) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineFeed::orvoCommon(buffer_, lines, settings, model_);
}

void KestrinPrinterBuilder::appendLogo(const std::string& keyCode, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Logo::kestrin(buffer_, keyCode, width, height, settings, model_);
}

void KestrinPrinterBuilder::appendPdf417(const std::string& content, int line, int column,
                                         Pdf417EccLevel level, int module, int aspect) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Pdf417::orvoCommon(buffer_, content, line, column, level, module, aspect, settings, model_);
}

void KestrinPrinterBuilder::appendQrCode(const std::string& content, QrCodeModel qrModel,
                                         QrCodeErrorCorrectionLevel level, int cellSize) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    QrCode::orvoCommon(buffer_, content, qrModel, level, cellSize, settings, model_);
}

void KestrinPrinterBuilder::appendUnitFeed(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnitFeed::orvoCommon(buffer_, mm, settings, model_);
}

void KestrinPrinterBuilder::appendSeparatorFeed() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SeparatorFeed::orvoCommon(buffer_, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationBold(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Bold::orvoCommon(buffer_, enable, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationUnderLine(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnderLine::orvoCommon(buffer_, enable, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationInvert(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Invert::orvoCommon(buffer_, enable, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    InternationalCharacter::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationFont(FontType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Font::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationCharacterSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    CharacterSpace::orvoCommon(buffer_, mm, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationLineSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineSpace::orvoCommon(buffer_, mm, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationExpansionRate(int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    ExpansionRate::orvoCommon(buffer_, width, height, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode encode) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SecondPriorityCharacterEncode::orvoCommon(buffer_, encode, settings, model_);
}

void KestrinPrinterBuilder::appendHorizontalPositionBy(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionBy::kestrin(buffer_, mm, settings, model_);
}

void KestrinPrinterBuilder::appendHorizontalPositionTo(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionTo::kestrin(buffer_, mm, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>& positions) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalTabPositions::kestrin(buffer_, positions, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>& priority) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    CjkPriority::orvoCommon(buffer_, priority, settings, model_);
}

void KestrinPrinterBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    AmbiguousWidthType::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterBuilder::appendDecorationBaseMagnification(BaseMagnificationType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    BaseMagnification::orvoCommon(buffer_, type, settings, model_);
}

void KestrinPrinterBuilder::appendText(const std::string& content, TextWidthParameter widthParameter) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Text::orvoCommon(buffer_, content, widthParameter, model_, settings);
}

void KestrinPrinterBuilder::appendRuledLine(double x, double width, double thickness, LineStyle lineStyle) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    RuledLine::orvoCommon(buffer_, x, width, thickness, lineStyle, settings, model_);
}

}  // namespace PrinterCommandBuilder::Printer
