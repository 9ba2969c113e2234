#pragma once

#include "prelix10/command/printer/KestrinPrinterBuilder.hpp"
#include "prelix10/command/printer/PageModeBuilder.hpp"

namespace PrinterCommandBuilder::Printer {

// Page mode of the page printers: the only page-mode builder that emits anything.
class KestrinPrinterPageModeBuilder : public PageModeBuilder, public KestrinPrinterBuilder {
  public:
    KestrinPrinterPageModeBuilder(ByteBuffer* buffer, PrinterModel model, SettingsStack* settingsStack)
        : Builder(buffer, model, settingsStack),
          PageModeBuilder(buffer, model, settingsStack),
          KestrinPrinterBuilder(buffer, model, settingsStack) {}
    ~KestrinPrinterPageModeBuilder() override = default;

    void beginPageMode() override;
    void endPageMode(bool areaValid) override;
    void stylePrintDirection(PrintDirection direction) override;
    void styleVerticalPositionBy(double mm) override;
    void styleVerticalPositionTo(double mm) override;
    void appendRuledLine(double x1, double y1, double x2, double y2, double thickness,
                         LineStyle lineStyle) override;
    void appendRectangle(double x, double y, double width, double height, double thickness,
                         LineStyle lineStyle, bool roundCorner, double cornerRadius) override;
    void appendImage(std::string_view source, double x, double y, int width, int height) override;
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

    using KestrinPrinterBuilder::appendRuledLine;
    using PageModeBuilder::appendImage;
    using PageModeBuilder::appendRuledLine;
    using PageModeBuilder::getBuffer;
    using PageModeBuilder::notifyRank;
    using PageModeBuilder::restoreSettings;
};

}  // namespace PrinterCommandBuilder::Printer
