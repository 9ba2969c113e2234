#pragma once

#include "prelix10/core/Export.hpp"
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "prelix10/builder/PageModeBuilder.hpp"
#include "prelix10/builder/PrinterBaseBuilder.hpp"

namespace Prelix10::VelmarCommand {

// The printer part of a command document: {"category": "Printer", "parameters": [...], "contents": [...]}.
// Every method appends one item in call order and returns the builder.
class PRELIX10_EXPORT PrinterBuilder : public PrinterBaseBuilder {
  public:
    PrinterBuilder();
    explicit PrinterBuilder(Printer::PrinterParameter parameter);

    const std::optional<Printer::PrinterParameter>& parameter() const { return *parameter_; }
    void setParameter(std::optional<Printer::PrinterParameter> parameter) {
        *parameter_ = std::move(parameter);
    }

    PrinterBuilder& styleAlignment(Printer::Alignment value) { return appendStyleAlignment(value), *this; }
    PrinterBuilder& styleFont(Printer::FontType value) { return appendStyleFont(value), *this; }
    PrinterBuilder& styleBold(bool enable) { return appendStyleBold(enable), *this; }
    PrinterBuilder& styleInvert(bool enable) { return appendStyleInvert(enable), *this; }
    PrinterBuilder& styleUnderLine(bool enable) { return appendStyleUnderLine(enable), *this; }
    PrinterBuilder& styleMagnification(const MagnificationParameter& parameter) {
        return appendStyleMagnification(parameter), *this;
    }
    PrinterBuilder& styleBaseMagnification(const Printer::BaseMagnificationParameter& parameter) {
        return appendStyleBaseMagnification(parameter), *this;
    }
    PrinterBuilder& styleCharacterSpace(double width) { return appendStyleCharacterSpace(width), *this; }
    PrinterBuilder& styleLineSpace(double height) { return appendStyleLineSpace(height), *this; }
    PrinterBuilder& styleHorizontalPositionTo(double position) {
        return appendStyleHorizontalPositionTo(position), *this;
    }
    PrinterBuilder& styleHorizontalPositionBy(double position) {
        return appendStyleHorizontalPositionBy(position), *this;
    }
    PrinterBuilder& styleHorizontalTabPositions(const std::vector<int>& positions) {
        return appendStyleHorizontalTabPositions(positions), *this;
    }
    PrinterBuilder& styleInternationalCharacter(Printer::InternationalCharacterType value) {
        return appendStyleInternationalCharacter(value), *this;
    }
    PrinterBuilder& styleSecondPriorityCharacterEncoding(Printer::CharacterEncodingType value) {
        return appendStyleSecondPriorityCharacterEncoding(value), *this;
    }
    PrinterBuilder& styleCJKCharacterPriority(const std::vector<Printer::CJKCharacterType>& types) {
        return appendStyleCJKCharacterPriority(types), *this;
    }
    // Integers that are no CJK character type (below 0 or above 3) are dropped.
    PrinterBuilder& styleCJKCharacterPriority(const std::vector<int>& types) {
        return appendStyleCJKCharacterPriority(types), *this;
    }
    PrinterBuilder& styleAmbiguousCharacterWidthType(Printer::AmbiguousCharacterWidthType value) {
        return appendStyleAmbiguousCharacterWidthType(value), *this;
    }

    PrinterBuilder& actionCut(Printer::CutType value) { return appendActionCut(value), *this; }
    PrinterBuilder& actionFeed(double height) { return appendActionFeed(height), *this; }
    PrinterBuilder& actionFeedLine(int lines) { return appendActionFeedLine(lines), *this; }
    PrinterBuilder& actionSeparatorFeed() { return appendActionSeparatorFeed(), *this; }
    PrinterBuilder& actionPrintText(std::string_view content,
                                    const std::optional<Printer::TextParameter>& parameter = std::nullopt) {
        return appendActionPrintText(content, parameter), *this;
    }
    PrinterBuilder& actionPrintLogo(const Printer::LogoParameter& parameter) {
        return appendActionPrintLogo(parameter), *this;
    }
    PrinterBuilder& actionPrintBarcode(const Printer::BarcodeParameter& parameter) {
        return appendActionPrintBarcode(parameter), *this;
    }
    PrinterBuilder& actionPrintPDF417(const Printer::PDF417Parameter& parameter) {
        return appendActionPrintPDF417(parameter), *this;
    }
    PrinterBuilder& actionPrintQRCode(const Printer::QRCodeParameter& parameter) {
        return appendActionPrintQRCode(parameter), *this;
    }
    // Nothing is appended when the image cannot be prepared.
    PrinterBuilder& actionPrintImage(const Printer::ImageParameter& parameter) {
        return appendActionPrintImage(parameter), *this;
    }
    PrinterBuilder& actionPrintRuledLine(const Printer::RuledLineParameter& parameter) {
        return appendActionPrintRuledLine(parameter), *this;
    }

    // Nests a printer builder; refused when the child is this builder or contains it.
    PrinterBuilder& add(PrinterBuilder builder);
    // Nests a page-mode builder with its area.
    PrinterBuilder& addPageMode(const Printer::PageModeAreaParameter& parameter, PageModeBuilder builder);

  private:
    friend class DocumentBuilder;
    // Writes this builder's template-extension item into its own "parameters" when its parameter has one;
    // done by a parent each time it adds this builder.
    void appendTemplateExtensionForParent();

    std::shared_ptr<std::optional<Printer::PrinterParameter>> parameter_;
};

}  // namespace Prelix10::VelmarCommand
