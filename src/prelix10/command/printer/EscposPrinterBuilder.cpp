#include "prelix10/command/printer/EscposPrinterBuilder.hpp"

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
#include "prelix10/command/printer/SettingCalculatePitch.hpp"
#include "prelix10/command/printer/Text.hpp"
#include "prelix10/command/printer/UnderLine.hpp"
#include "prelix10/command/printer/UnitFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void EscposPrinterBuilder::appendCalculatePitch() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SettingCalculatePitch::escpos(buffer_, settings);
}

void EscposPrinterBuilder::appendArea(double, double, double, double) {}

void EscposPrinterBuilder::appendAlignment(AlignmentType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Alignment::escposCommon(buffer_, type, settings, model_);
}

void EscposPrinterBuilder::appendBarcode(BarcodeType type, const std::string& content, bool hri, int barDots,
                                         BarRatioLevel barRatioLevel, double height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Barcode::escpos(buffer_, type, content, hri, barDots, barRatioLevel, settings, height);
}

void EscposPrinterBuilder::appendImage(std::string_view source, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Image::escpos(buffer_, source, width, height, settings);
}

void EscposPrinterBuilder::appendCut(CutType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Cut::escpos(buffer_, type, settings, model_);
}

void EscposPrinterBuilder::appendLineFeed(int lines) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineFeed::escposCommon(buffer_, lines, settings, model_);
}

void EscposPrinterBuilder::appendLogo(const std::string& keyCode, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Logo::escpos(buffer_, keyCode, width, height, settings, model_);
}

void EscposPrinterBuilder::appendPdf417(const std::string& content, int line, int column,
                                        Pdf417EccLevel level, int module, int aspect) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Pdf417::escpos(buffer_, content, line, column, level, module, aspect, settings);
}

void EscposPrinterBuilder::appendQrCode(const std::string& content, QrCodeModel qrModel,
                                        QrCodeErrorCorrectionLevel level, int cellSize) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    QrCode::escpos(buffer_, content, qrModel, level, cellSize, settings);
}

void EscposPrinterBuilder::appendUnitFeed(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnitFeed::escpos(buffer_, mm, settings, model_);
}

void EscposPrinterBuilder::appendSeparatorFeed() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SeparatorFeed::escpos(buffer_, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationBold(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Bold::escposCommon(buffer_, enable, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationUnderLine(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnderLine::escpos(buffer_, enable, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationInvert(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Invert::escposCommon(buffer_, enable, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationInternationalCharacter(InternationalCharacterType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    InternationalCharacter::escpos(buffer_, type, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationFont(FontType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Font::escpos(buffer_, type, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationCharacterSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    CharacterSpace::escposCommon(buffer_, mm, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationLineSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineSpace::escposCommon(buffer_, mm, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationExpansionRate(int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    ExpansionRate::escposCommon(buffer_, width, height, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode encode) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SecondPriorityCharacterEncode::escpos(buffer_, encode, settings, model_);
}

void EscposPrinterBuilder::appendHorizontalPositionBy(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionBy::escposCommon(buffer_, mm, settings, model_);
}

void EscposPrinterBuilder::appendHorizontalPositionTo(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionTo::escposCommon(buffer_, mm, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationHorizontalTabPositions(const std::vector<int>& positions) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalTabPositions::escposCommon(buffer_, positions, settings, model_);
}

void EscposPrinterBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void EscposPrinterBuilder::appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType) {}

void EscposPrinterBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void EscposPrinterBuilder::appendText(const std::string& content, TextWidthParameter) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Text::escpos(buffer_, content, model_, settings);
}

void EscposPrinterBuilder::appendRuledLine(double x, double width, double thickness, LineStyle lineStyle) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    RuledLine::escpos(buffer_, x, width, thickness, lineStyle, settings, model_);
}

}  // namespace PrinterCommandBuilder::Printer
