#pragma once

#include <string>
#include <vector>

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/Encode.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"
#include "prelix10/command/printer/SettingsStack.hpp"

namespace PrinterCommandBuilder::Printer {

// The printer device of one emulation. Keeps the style stack: deeper ranks push copies of the
// current record, shallower ranks send the differences back and pop.
class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model, SettingsStack* settingsStack)
        : BaseBuilder(buffer, model), settingsStack_(settingsStack) {}
    ~Builder() override = default;

    void notifyRank(std::size_t rank) override;

    virtual void appendCalculatePitch() = 0;
    virtual void appendArea(double x, double y, double width, double height) = 0;
    virtual void appendAlignment(AlignmentType type) = 0;
    virtual void appendBarcode(BarcodeType type, const std::string& content, bool hri, int barDots,
                               BarRatioLevel barRatioLevel, double height) = 0;
    virtual void appendImage(std::string_view source, int width, int height) = 0;
    virtual void appendCut(CutType type) = 0;
    virtual void appendLineFeed(int lines) = 0;
    virtual void appendLogo(const std::string& keyCode, int width, int height) = 0;
    virtual void appendPdf417(const std::string& content, int line, int column, Pdf417EccLevel level,
                              int module, int aspect) = 0;
    virtual void appendQrCode(const std::string& content, QrCodeModel qrModel,
                              QrCodeErrorCorrectionLevel level, int cellSize) = 0;
    virtual void appendUnitFeed(double mm) = 0;
    virtual void appendSeparatorFeed() = 0;
    virtual void appendTextDecorationBold(bool enable) = 0;
    virtual void appendTextDecorationUnderLine(bool enable) = 0;
    virtual void appendTextDecorationInvert(bool enable) = 0;
    virtual void appendTextDecorationInternationalCharacter(InternationalCharacterType type) = 0;
    virtual void appendTextDecorationFont(FontType type) = 0;
    virtual void appendTextDecorationCharacterSpace(double mm) = 0;
    virtual void appendTextDecorationLineSpace(double mm) = 0;
    virtual void appendTextDecorationExpansionRate(int width, int height) = 0;
    virtual void appendTextDecorationSecondPriorityCharacterEncoding(VelmarCommandParser::Encode encode) = 0;
    virtual void appendHorizontalPositionBy(double mm) = 0;
    virtual void appendHorizontalPositionTo(double mm) = 0;
    virtual void appendTextDecorationHorizontalTabPositions(const std::vector<int>& positions) = 0;
    virtual void appendTextDecorationCjkCharacterPriority(const std::vector<Encode>& priority) = 0;
    virtual void appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType type) = 0;
    virtual void appendDecorationBaseMagnification(BaseMagnificationType type) = 0;
    virtual void appendText(const std::string& content, TextWidthParameter widthParameter) = 0;
    virtual void appendRuledLine(double x, double width, double thickness, LineStyle lineStyle) = 0;

    ByteBuffer* getBuffer() const { return buffer_; }
    // Sends the default settings through this builder's own operations (supported printers only).
    void appendDefaultSetting();
    // Sends each setting in which target differs from current, with target's value; then carries
    // current's line-head flag down to target.
    void restoreSettings(PrintSettingsInformation* target, PrintSettingsInformation* current);

  protected:
    // The record creators receive; null while the stack is empty (operations then do nothing).
    PrintSettingsInformation* currentSettings() const;
    // The record below the current one; null when there is none.
    PrintSettingsInformation* enclosingSettings() const;

    SettingsStack* settingsStack_;
};

}  // namespace PrinterCommandBuilder::Printer
