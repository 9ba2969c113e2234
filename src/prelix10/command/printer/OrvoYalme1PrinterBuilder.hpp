#pragma once

#include "prelix10/command/printer/Builder.hpp"

namespace PrinterCommandBuilder::Printer {

class OrvoYalme1PrinterBuilder : public virtual Builder {
  public:
    OrvoYalme1PrinterBuilder(ByteBuffer* buffer, PrinterModel model, SettingsStack* settingsStack)
        : Builder(buffer, model, settingsStack) {}
    ~OrvoYalme1PrinterBuilder() override = default;

    void appendCalculatePitch() override;
    void appendArea(double x, double y, double width, double height) override;
    void appendAlignment(AlignmentType type) override;
    void appendBarcode(BarcodeType type, const std::string& content, bool hri, int barDots,
                       BarRatioLevel barRatioLevel, double height) override;
    void appendImage(std::string_view source, int width, int height) override;
    void appendCut(CutType type) override;
    void appendLineFeed(int lines) override;
    void appendLogo(const std::string& keyCode, int width, int height) override;
    void appendPdf417(const std::string& content, int line, int column, Pdf417EccLevel level, int module,
                      int aspect) override;
    void appendQrCode(const std::string& content, QrCodeModel qrModel, QrCodeErrorCorrectionLevel level,
                      int cellSize) override;
    void appendUnitFeed(double mm) override;
    void appendSeparatorFeed() override;
    void appendTextDecorationBold(bool enable) override;
    void appendTextDecorationUnderLine(bool enable) override;
    void appendTextDecorationInvert(bool enable) override;
    void appendTextDecorationInternationalCharacter(InternationalCharacterType type) override;
    void appendTextDecorationFont(FontType type) override;
    void appendTextDecorationCharacterSpace(double mm) override;
    void appendTextDecorationLineSpace(double mm) override;
    void appendTextDecorationExpansionRate(int width, int height) override;
    void appendTextDecorationSecondPriorityCharacterEncoding(VelmarCommandParser::Encode encode) override;
    void appendHorizontalPositionBy(double mm) override;
    void appendHorizontalPositionTo(double mm) override;
    void appendTextDecorationHorizontalTabPositions(const std::vector<int>& positions) override;
    void appendTextDecorationCjkCharacterPriority(const std::vector<Encode>& priority) override;
    void appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType type) override;
    void appendDecorationBaseMagnification(BaseMagnificationType type) override;
    void appendText(const std::string& content, TextWidthParameter widthParameter) override;
    void appendRuledLine(double x, double width, double thickness, LineStyle lineStyle) override;
};

}  // namespace PrinterCommandBuilder::Printer
