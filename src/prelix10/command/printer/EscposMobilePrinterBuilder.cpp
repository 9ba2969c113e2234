#include "prelix10/command/printer/EscposMobilePrinterBuilder.hpp"

#include "prelix10/command/printer/Alignment.hpp"
#include "prelix10/command/printer/Barcode.hpp"
#include "prelix10/command/printer/Bold.hpp"
#include "prelix10/command/printer/CharacterSpace.hpp"
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

void EscposMobilePrinterBuilder::appendCalculatePitch() {}

void EscposMobilePrinterBuilder::appendArea(double, double, double, double) {}

void EscposMobilePrinterBuilder::appendAlignment(AlignmentType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Alignment::escposCommon(buffer_, type, settings, model_);
}

void EscposMobilePrinterBuilder::appendBarcode(BarcodeType type, const std::string& content, bool hri,
                                               int barDots, BarRatioLevel barRatioLevel, double height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Barcode::escposMobile(buffer_, type, content, hri, barDots, barRatioLevel, settings, height);
}

void EscposMobilePrinterBuilder::appendImage(std::string_view source, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Image::escposMobile(buffer_, source, width, height, settings);
}

void EscposMobilePrinterBuilder::appendCut(CutType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Cut::escposMobile(buffer_, type, settings, model_);
}

void EscposMobilePrinterBuilder::appendLineFeed(int lines) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineFeed::escposCommon(buffer_, lines, settings, model_);
}

void EscposMobilePrinterBuilder::appendLogo(const std::string& keyCode, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Logo::escposMobile(buffer_, keyCode, width, height, settings, model_);
}

void EscposMobilePrinterBuilder::appendPdf417(const std::string& content, int line, int column,
                                              Pdf417EccLevel level, int module, int aspect) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Pdf417::escposMobile(buffer_, content, line, column, level, module, aspect, settings);
}

void EscposMobilePrinterBuilder::appendQrCode(const std::string& content, QrCodeModel qrModel,
                                              QrCodeErrorCorrectionLevel level, int cellSize) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    QrCode::escposMobile(buffer_, content, qrModel, level, cellSize, settings);
}

void EscposMobilePrinterBuilder::appendUnitFeed(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnitFeed::escposMobile(buffer_, mm, settings, model_);
}

void EscposMobilePrinterBuilder::appendSeparatorFeed() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SeparatorFeed::escposMobile(buffer_, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationBold(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Bold::escposCommon(buffer_, enable, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationUnderLine(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnderLine::escposMobile(buffer_, enable, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationInvert(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Invert::escposCommon(buffer_, enable, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    InternationalCharacter::escposMobile(buffer_, type, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationFont(FontType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Font::escposMobile(buffer_, type, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationCharacterSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    CharacterSpace::escposCommon(buffer_, mm, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationLineSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineSpace::escposCommon(buffer_, mm, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationExpansionRate(int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    ExpansionRate::escposCommon(buffer_, width, height, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode encode) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SecondPriorityCharacterEncode::escposMobile(buffer_, encode, settings, model_);
}

void EscposMobilePrinterBuilder::appendHorizontalPositionBy(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionBy::escposCommon(buffer_, mm, settings, model_);
}

void EscposMobilePrinterBuilder::appendHorizontalPositionTo(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionTo::escposCommon(buffer_, mm, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationHorizontalTabPositions(
    const std::vector<int>& positions) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalTabPositions::escposCommon(buffer_, positions, settings, model_);
}

void EscposMobilePrinterBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void EscposMobilePrinterBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void EscposMobilePrinterBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void EscposMobilePrinterBuilder::appendText(const std::string& content, TextWidthParameter) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Text::escposMobile(buffer_, content, model_, settings);
}

void EscposMobilePrinterBuilder::appendRuledLine(double x, double width, double thickness,
                                                 LineStyle lineStyle) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    RuledLine::escposMobile(buffer_, x, width, thickness, lineStyle, settings, model_);
}

}  // namespace PrinterCommandBuilder::Printer
