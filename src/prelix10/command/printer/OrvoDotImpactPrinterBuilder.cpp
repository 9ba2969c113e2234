#include "prelix10/command/printer/OrvoDotImpactPrinterBuilder.hpp"

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
#include "prelix10/command/printer/RuledLine.hpp"
#include "prelix10/command/printer/SecondPriorityCharacterEncode.hpp"
#include "prelix10/command/printer/SeparatorFeed.hpp"
#include "prelix10/command/printer/Text.hpp"
#include "prelix10/command/printer/UnderLine.hpp"
#include "prelix10/command/printer/UnitFeed.hpp"

namespace PrinterCommandBuilder::Printer {

void OrvoDotImpactPrinterBuilder::appendCalculatePitch() {}

void OrvoDotImpactPrinterBuilder::appendArea(double, double, double, double) {}

void OrvoDotImpactPrinterBuilder::appendAlignment(AlignmentType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Alignment::orvoCommon(buffer_, type, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendBarcode(BarcodeType type, const std::string& content, bool hri,
                                                int barDots, BarRatioLevel barRatioLevel, double height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Barcode::orvoDotImpact(buffer_, type, content, hri, barDots, barRatioLevel, settings, height);
}

void OrvoDotImpactPrinterBuilder::appendImage(std::string_view source, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Image::orvoDotImpact(buffer_, source, width, height, settings);
}

void OrvoDotImpactPrinterBuilder::appendCut(CutType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Cut::orvoCommon(buffer_, type, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendLineFeed(int lines) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineFeed::orvoCommon(buffer_, lines, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendLogo(const std::string& keyCode, int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Logo::orvoCommon(buffer_, keyCode, width, height, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) {}

void OrvoDotImpactPrinterBuilder::appendQrCode(const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel,
                                               int) {}

void OrvoDotImpactPrinterBuilder::appendUnitFeed(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnitFeed::orvoDotImpact(buffer_, mm, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendSeparatorFeed() {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SeparatorFeed::orvoCommon(buffer_, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationBold(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Bold::orvoCommon(buffer_, enable, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationUnderLine(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    UnderLine::orvoCommon(buffer_, enable, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationInvert(bool enable) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Invert::orvoCommon(buffer_, enable, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationInternationalCharacter(
    InternationalCharacterType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    InternationalCharacter::orvoCommon(buffer_, type, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationFont(FontType type) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Font::orvoDotImpact(buffer_, type, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationCharacterSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    CharacterSpace::orvoDotImpact(buffer_, mm, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationLineSpace(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    LineSpace::orvoDotImpact(buffer_, mm, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationExpansionRate(int width, int height) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    ExpansionRate::orvoDotImpact(buffer_, width, height, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationSecondPriorityCharacterEncoding(
    VelmarCommandParser::Encode encode) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    SecondPriorityCharacterEncode::orvoCommon(buffer_, encode, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendHorizontalPositionBy(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionBy::orvoDotImpact(buffer_, mm, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendHorizontalPositionTo(double mm) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalPositionTo::orvoDotImpact(buffer_, mm, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationHorizontalTabPositions(
    const std::vector<int>& positions) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    HorizontalTabPositions::orvoDotImpact(buffer_, positions, settings, model_);
}

void OrvoDotImpactPrinterBuilder::appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) {}

void OrvoDotImpactPrinterBuilder::appendTextDecorationAmbiguousCharacterWidthType(
    AmbiguousCharacterWidthType) {}

void OrvoDotImpactPrinterBuilder::appendDecorationBaseMagnification(BaseMagnificationType) {}

void OrvoDotImpactPrinterBuilder::appendText(const std::string& content, TextWidthParameter widthParameter) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    Text::orvoCommon(buffer_, content, widthParameter, model_, settings);
}

void OrvoDotImpactPrinterBuilder::appendRuledLine(double x, double width, double thickness,
                                                  LineStyle lineStyle) {
    auto* settings = currentSettings();
    if (settings == nullptr) return;
    RuledLine::orvoDotImpact(buffer_, x, width, thickness, lineStyle, settings, model_);
}

}  // namespace PrinterCommandBuilder::Printer
