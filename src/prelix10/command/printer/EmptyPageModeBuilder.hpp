#pragma once

#include <string>
#include <vector>

#include "prelix10/command/printer/PageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

// The page-mode device of an emulation without page mode: every page-mode and printer operation
// appends nothing, except the line-mode ruled line, which stays the emulation's own.
template <typename LineModeBuilder>
class EmptyPageModeBuilder : public PageModeBuilder, public LineModeBuilder {
  public:
    EmptyPageModeBuilder(ByteBuffer* buffer, PrinterModel model, SettingsStack* settingsStack)
        : Builder(buffer, model, settingsStack),
          PageModeBuilder(buffer, model, settingsStack),
          LineModeBuilder(buffer, model, settingsStack) {}
    ~EmptyPageModeBuilder() override = default;

    bool emitsPageMode() const override { return false; }
    void beginPageMode() override {}
    void endPageMode(bool) override {}
    void stylePrintDirection(PrintDirection) override {}
    void styleVerticalPositionBy(double) override {}
    void styleVerticalPositionTo(double) override {}
    void appendRuledLine(double, double, double, double, double, LineStyle) override {}
    void appendRectangle(double, double, double, double, double, LineStyle, bool, double) override {}
    void appendImage(std::string_view, double, double, int, int) override {}
    void appendArea(double, double, double, double) override {}
    void appendAlignment(AlignmentType) override {}
    void appendBarcode(BarcodeType, const std::string&, bool, int, BarRatioLevel, double) override {}
    void appendImage(std::string_view, int, int) override {}
    void appendCut(CutType) override {}
    void appendLineFeed(int) override {}
    void appendLogo(const std::string&, int, int) override {}
    void appendPdf417(const std::string&, int, int, Pdf417EccLevel, int, int) override {}
    void appendQrCode(const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int) override {}
    void appendUnitFeed(double) override {}
    void appendSeparatorFeed() override {}
    void appendTextDecorationBold(bool) override {}
    void appendTextDecorationUnderLine(bool) override {}
    void appendTextDecorationInvert(bool) override {}
    void appendTextDecorationInternationalCharacter(InternationalCharacterType) override {}
    void appendTextDecorationFont(FontType) override {}
    void appendTextDecorationCharacterSpace(double) override {}
    void appendTextDecorationLineSpace(double) override {}
    void appendTextDecorationExpansionRate(int, int) override {}
    void appendTextDecorationSecondPriorityCharacterEncoding(VelmarCommandParser::Encode) override {}
    void appendHorizontalPositionBy(double) override {}
    void appendHorizontalPositionTo(double) override {}
    void appendTextDecorationHorizontalTabPositions(const std::vector<int>&) override {}
    void appendTextDecorationCjkCharacterPriority(const std::vector<Encode>&) override {}
    void appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType) override {}
    void appendDecorationBaseMagnification(BaseMagnificationType) override {}
    void appendText(const std::string&, TextWidthParameter) override {}

    using LineModeBuilder::appendRuledLine;
    using PageModeBuilder::appendImage;
    using PageModeBuilder::appendRuledLine;
    using PageModeBuilder::getBuffer;
    using PageModeBuilder::notifyRank;
    using PageModeBuilder::restoreSettings;
};

}  // namespace PrinterCommandBuilder::Printer
