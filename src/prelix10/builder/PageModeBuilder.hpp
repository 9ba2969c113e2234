#pragma once

#include "prelix10/core/Export.hpp"
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "prelix10/builder/PrinterBaseBuilder.hpp"

namespace Prelix10::VelmarCommand {

// A page-mode area: {"category": "PageMode", "parameters": [...], "contents": [...]}. Shares the style
// and print items of the printer builder and adds the page-only ones.
class PRELIX10_EXPORT PageModeBuilder : public PrinterBaseBuilder {
  public:
    PageModeBuilder();
    explicit PageModeBuilder(Printer::PageModeParameter parameter);

    const std::optional<Printer::PageModeParameter>& parameter() const { return *parameter_; }
    void setParameter(std::optional<Printer::PageModeParameter> parameter) {
        *parameter_ = std::move(parameter);
    }

    PageModeBuilder& styleFont(Printer::FontType value) { return appendStyleFont(value), *this; }
    PageModeBuilder& styleBold(bool enable) { return appendStyleBold(enable), *this; }
    PageModeBuilder& styleInvert(bool enable) { return appendStyleInvert(enable), *this; }
    PageModeBuilder& styleUnderLine(bool enable) { return appendStyleUnderLine(enable), *this; }
    PageModeBuilder& styleMagnification(const MagnificationParameter& parameter) {
        return appendStyleMagnification(parameter), *this;
    }
    PageModeBuilder& styleBaseMagnification(const Printer::BaseMagnificationParameter& parameter) {
        return appendStyleBaseMagnification(parameter), *this;
    }
    PageModeBuilder& styleCharacterSpace(double width) { return appendStyleCharacterSpace(width), *this; }
    PageModeBuilder& styleLineSpace(double height) { return appendStyleLineSpace(height), *this; }
    PageModeBuilder& styleHorizontalPositionTo(double position) {
        return appendStyleHorizontalPositionTo(position), *this;
    }
    PageModeBuilder& styleHorizontalPositionBy(double position) {
        return appendStyleHorizontalPositionBy(position), *this;
    }
    PageModeBuilder& styleHorizontalTabPositions(const std::vector<int>& positions) {
        return appendStyleHorizontalTabPositions(positions), *this;
    }
    PageModeBuilder& styleInternationalCharacter(Printer::InternationalCharacterType value) {
        return appendStyleInternationalCharacter(value), *this;
    }
    PageModeBuilder& styleSecondPriorityCharacterEncoding(Printer::CharacterEncodingType value) {
        return appendStyleSecondPriorityCharacterEncoding(value), *this;
    }
    PageModeBuilder& styleCJKCharacterPriority(const std::vector<Printer::CJKCharacterType>& types) {
        return appendStyleCJKCharacterPriority(types), *this;
    }
    PageModeBuilder& styleCJKCharacterPriority(const std::vector<int>& types) {
        return appendStyleCJKCharacterPriority(types), *this;
    }
    PageModeBuilder& styleAmbiguousCharacterWidthType(Printer::AmbiguousCharacterWidthType value) {
        return appendStyleAmbiguousCharacterWidthType(value), *this;
    }
    PageModeBuilder& stylePrintDirection(Printer::PageModePrintDirection value) {
        return appendStylePrintDirection(value), *this;
    }
    PageModeBuilder& styleVerticalPositionTo(double position) {
        return appendStyleVerticalPositionTo(position), *this;
    }
    PageModeBuilder& styleVerticalPositionBy(double position) {
        return appendStyleVerticalPositionBy(position), *this;
    }

    PageModeBuilder& actionPrintText(std::string_view content,
                                     const std::optional<Printer::TextParameter>& parameter = std::nullopt) {
        return appendActionPrintText(content, parameter), *this;
    }
    PageModeBuilder& actionPrintBarcode(const Printer::BarcodeParameter& parameter) {
        return appendActionPrintBarcode(parameter), *this;
    }
    PageModeBuilder& actionPrintPDF417(const Printer::PDF417Parameter& parameter) {
        return appendActionPrintPDF417(parameter), *this;
    }
    PageModeBuilder& actionPrintQRCode(const Printer::QRCodeParameter& parameter) {
        return appendActionPrintQRCode(parameter), *this;
    }
    // Nothing is appended when the image cannot be prepared; "width" is the prepared width.
    PageModeBuilder& actionPrintImage(const Printer::PageModeImageParameter& parameter) {
        return appendActionPrintPageModeImage(parameter), *this;
    }
    PageModeBuilder& actionPrintRuledLine(const Printer::PageModeRuledLineParameter& parameter) {
        return appendActionPrintPageModeRuledLine(parameter), *this;
    }
    PageModeBuilder& actionPrintRectangle(const Printer::PageModeRectangleParameter& parameter) {
        return appendActionPrintPageModeRectangle(parameter), *this;
    }

    // Nests a page-mode builder without an area; refused when the child is this builder or contains it.
    PageModeBuilder& add(PageModeBuilder builder);
    PageModeBuilder& addPageMode(const Printer::PageModeAreaParameter& parameter, PageModeBuilder builder);

  private:
    friend class PrinterBuilder;
    // The items a parent writes into this builder's "parameters" when it nests it.
    void prepareForParent(const Printer::PageModeAreaParameter* area);

    std::shared_ptr<std::optional<Printer::PageModeParameter>> parameter_;
};

}  // namespace Prelix10::VelmarCommand
