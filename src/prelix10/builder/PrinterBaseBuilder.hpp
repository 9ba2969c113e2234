#pragma once

#include "prelix10/core/Export.hpp"
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/PrinterParameters.hpp"

namespace Prelix10::VelmarCommand {

// The appenders shared by the printer and page-mode builders: one per JSON method. Each writes one item
// into this builder's "contents" (or nothing when an enumeration value has no JSON string or a number
// is not finite).
class PRELIX10_EXPORT PrinterBaseBuilder : public CategoryBuilder {
  public:
    struct PreparedImage {
        std::string source;  // Base64 of the 1-bit raster
        int width = 0;       // pixels, a multiple of 8
        int height = 0;
    };
    // Scales the image to the parameter's width, widens it to a multiple of 8 pixels with a transparent
    // strip and converts it to a 1-bit raster. Nothing when the image cannot be prepared.
    static std::optional<PreparedImage> prepareImage(const Printer::ImageParameter& parameter);

  protected:
    using CategoryBuilder::CategoryBuilder;

    void appendStyleAlignment(Printer::Alignment value);
    void appendStyleFont(Printer::FontType value);
    void appendStyleBold(bool enable);
    void appendStyleInvert(bool enable);
    void appendStyleUnderLine(bool enable);
    void appendStyleMagnification(const MagnificationParameter& parameter);
    void appendStyleBaseMagnification(const Printer::BaseMagnificationParameter& parameter);
    void appendStyleCharacterSpace(double width);
    void appendStyleLineSpace(double height);
    void appendStyleHorizontalPositionTo(double position);
    void appendStyleHorizontalPositionBy(double position);
    void appendStyleHorizontalTabPositions(const std::vector<int>& positions);
    void appendStyleInternationalCharacter(Printer::InternationalCharacterType value);
    void appendStyleSecondPriorityCharacterEncoding(Printer::CharacterEncodingType value);
    void appendStyleCJKCharacterPriority(const std::vector<Printer::CJKCharacterType>& types);
    void appendStyleCJKCharacterPriority(const std::vector<int>& types);
    void appendStyleAmbiguousCharacterWidthType(Printer::AmbiguousCharacterWidthType value);

    void appendActionCut(Printer::CutType value);
    void appendActionFeed(double height);
    void appendActionFeedLine(int lines);
    void appendActionSeparatorFeed();
    void appendActionPrintText(std::string_view content,
                               const std::optional<Printer::TextParameter>& parameter);
    void appendActionPrintLogo(const Printer::LogoParameter& parameter);
    void appendActionPrintBarcode(const Printer::BarcodeParameter& parameter);
    void appendActionPrintPDF417(const Printer::PDF417Parameter& parameter);
    void appendActionPrintQRCode(const Printer::QRCodeParameter& parameter);
    void appendActionPrintImage(const Printer::ImageParameter& parameter);
    void appendActionPrintRuledLine(const Printer::RuledLineParameter& parameter);

    void appendStylePrintDirection(Printer::PageModePrintDirection value);
    void appendStyleVerticalPositionTo(double position);
    void appendStyleVerticalPositionBy(double position);
    void appendActionPrintPageModeImage(const Printer::PageModeImageParameter& parameter);
    void appendActionPrintPageModeRuledLine(const Printer::PageModeRuledLineParameter& parameter);
    void appendActionPrintPageModeRectangle(const Printer::PageModeRectangleParameter& parameter);

    // "Setting.TemplateExtension" into this builder's "parameters", when the extension is set.
    void appendTemplateExtension(const std::optional<TemplateExtensionParameter>& extension);
    // "Style.PageMode.Area" into this builder's "parameters".
    void appendPageModeArea(const Printer::PageModeAreaParameter& area);

    template <typename E>
    void appendEnumeration(std::string_view method, std::string_view key, E value) {
        const auto name = jsonString(value);
        if (!name) return;
        appendMethod(method, JsonObject::make({{std::string(key), JsonLiteral{*name}}}));
    }
};

}  // namespace Prelix10::VelmarCommand
