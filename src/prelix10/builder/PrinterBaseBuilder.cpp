#include "prelix10/builder/PrinterBaseBuilder.hpp"

#include <cmath>

#include "prelix10/builder/Base64.hpp"
#include "prelix10/builder/BitmapConverter.hpp"
#include "prelix10/builder/VelmarCommandParameterConverter.hpp"
#include "prelix10/core/Prelix10Error.hpp"

namespace Prelix10::VelmarCommand {

namespace {

JsonValue text(std::string_view value) {
    return JsonValue(VelmarCommandParameterConverter::convertText(value));
}

template <typename E>
std::optional<JsonValue> name(E value) {
    const auto found = jsonString(value);
    if (!found) return std::nullopt;
    return JsonLiteral{*found};
}

std::optional<PrinterBaseBuilder::PreparedImage> convert(const ImagePixels& image, bool effectDiffusion,
                                                         int threshold) {
    try {
        BitmapConverter converter(image);
        if (effectDiffusion) {
            converter.diffuse();
        } else {
            converter.threshold(threshold);
        }
        return PrinterBaseBuilder::PreparedImage{base64Encode(converter.toData()), converter.width(),
                                                 converter.height()};
    } catch (const Prelix10Error&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<PrinterBaseBuilder::PreparedImage> PrinterBaseBuilder::prepareImage(
    const Printer::ImageParameter& parameter) {
    const int width = parameter.width();
    const ImagePixels& image = parameter.image();
    if (width < 1 || image.width() <= 0 || !image.hasPixelData()) return std::nullopt;
    const double scale = static_cast<double>(width) / image.width();
    const double scaledHeight = scale * image.height();
    if (!std::isfinite(scaledHeight) || scaledHeight >= 9.2e18 || scaledHeight < 0) return std::nullopt;
    const double height = std::trunc(scaledHeight);
    if (height < 1 || height > ImagePixels::kMaximumSurfaceBytes) return std::nullopt;
    std::optional<ImagePixels> drawn = image.drawnInto(width, static_cast<int>(height));
    if (!drawn) return std::nullopt;
    if (const int rest = drawn->width() % 8; rest != 0) {
        drawn = drawn->widenedBy(8 - rest);
        if (!drawn) return std::nullopt;
    }
    return convert(*drawn, parameter.effectDiffusion(), parameter.threshold());
}

void PrinterBaseBuilder::appendStyleAlignment(Printer::Alignment value) {
    appendEnumeration("Style.Alignment", "position", value);
}
void PrinterBaseBuilder::appendStyleFont(Printer::FontType value) {
    appendEnumeration("Style.Font", "type", value);
}
void PrinterBaseBuilder::appendStyleBold(bool enable) {
    appendMethod("Style.Bold", JsonObject::make({{"enable", enable}}));
}
void PrinterBaseBuilder::appendStyleInvert(bool enable) {
    appendMethod("Style.Invert", JsonObject::make({{"enable", enable}}));
}
void PrinterBaseBuilder::appendStyleUnderLine(bool enable) {
    appendMethod("Style.UnderLine", JsonObject::make({{"enable", enable}}));
}
void PrinterBaseBuilder::appendStyleMagnification(const MagnificationParameter& parameter) {
    appendMethod("Style.Magnification",
                 JsonObject::make({{"width", parameter.width()}, {"height", parameter.height()}}));
}
void PrinterBaseBuilder::appendStyleBaseMagnification(const Printer::BaseMagnificationParameter& parameter) {
    appendEnumeration("Style.BaseMagnification", "text", parameter.text());
}
void PrinterBaseBuilder::appendStyleCharacterSpace(double width) {
    appendMethod("Style.CharacterSpace", JsonObject::make({{"width", width}}));
}
void PrinterBaseBuilder::appendStyleLineSpace(double height) {
    appendMethod("Style.LineSpace", JsonObject::make({{"height", height}}));
}
void PrinterBaseBuilder::appendStyleHorizontalPositionTo(double position) {
    appendMethod("Style.HorizontalPositionTo", JsonObject::make({{"position", position}}));
}
void PrinterBaseBuilder::appendStyleHorizontalPositionBy(double position) {
    appendMethod("Style.HorizontalPositionBy", JsonObject::make({{"position", position}}));
}
void PrinterBaseBuilder::appendStyleHorizontalTabPositions(const std::vector<int>& positions) {
    JsonList list(positions.begin(), positions.end());
    appendMethod("Style.HorizontalTabPositions", JsonObject::make({{"positions", std::move(list)}}));
}
void PrinterBaseBuilder::appendStyleInternationalCharacter(Printer::InternationalCharacterType value) {
    appendEnumeration("Style.InternationalCharacter", "type", value);
}
void PrinterBaseBuilder::appendStyleSecondPriorityCharacterEncoding(Printer::CharacterEncodingType value) {
    appendEnumeration("Style.SecondPriorityCharacterEncoding", "type", value);
}
void PrinterBaseBuilder::appendStyleCJKCharacterPriority(
    const std::vector<Printer::CJKCharacterType>& types) {
    JsonList names;
    for (const auto type : types) {
        // A value that is no declared case makes the whole call ineffective rather than guessing.
        const auto found = jsonString(type);
        if (!found) return;
        names.emplace_back(*found);
    }
    appendMethod("Style.CjkCharacterPriority", JsonObject::make({{"types", std::move(names)}}));
}
void PrinterBaseBuilder::appendStyleCJKCharacterPriority(const std::vector<int>& types) {
    std::vector<Printer::CJKCharacterType> kept;
    for (const int raw : types) {
        if (const auto type = fromRawValue<Printer::CJKCharacterType>(raw)) kept.push_back(*type);
    }
    appendStyleCJKCharacterPriority(kept);
}
void PrinterBaseBuilder::appendStyleAmbiguousCharacterWidthType(Printer::AmbiguousCharacterWidthType value) {
    appendEnumeration("Style.AmbiguousCharacterWidthType", "type", value);
}

void PrinterBaseBuilder::appendActionCut(Printer::CutType value) {
    appendEnumeration("Action.Cut", "type", value);
}
void PrinterBaseBuilder::appendActionFeed(double height) {
    appendMethod("Action.Feed.Unit", JsonObject::make({{"height", height}}));
}
void PrinterBaseBuilder::appendActionFeedLine(int lines) {
    appendMethod("Action.Feed.Line", JsonObject::make({{"lines", lines}}));
}
void PrinterBaseBuilder::appendActionSeparatorFeed() {
    appendMethod("Action.Feed.Separator", JsonObject::make());
}

void PrinterBaseBuilder::appendActionPrintText(std::string_view content,
                                               const std::optional<Printer::TextParameter>& parameter) {
    JsonObjectRef object = JsonObject::make();
    object->reserve(parameter && parameter->width() ? 6 : 1);
    object->append("content", text(content));
    if (parameter && parameter->width()) {
        const Printer::TextWidthParameter width =
            parameter->widthParameter().value_or(Printer::TextWidthParameter());
        const auto widthType = name(width.widthType());
        const auto alignment = name(width.alignment());
        const auto ellipsize = name(width.ellipsizeType());
        const auto printType = name(width.printType());
        if (!widthType || !alignment || !ellipsize || !printType) return;
        object->append("width", *parameter->width());
        object->append("widthType", *widthType);
        object->append("alignment", *alignment);
        object->append("ellipsizeType", *ellipsize);
        object->append("printType", *printType);
    }
    appendMethod("Action.Print.Text", std::move(object));
}

void PrinterBaseBuilder::appendActionPrintLogo(const Printer::LogoParameter& parameter) {
    appendMethod("Action.Print.Logo", JsonObject::make({{"key_code", text(parameter.keyCode())}}));
}

void PrinterBaseBuilder::appendActionPrintBarcode(const Printer::BarcodeParameter& parameter) {
    const auto symbology = name(parameter.symbology());
    const auto ratio = name(parameter.barRatioLevel());
    if (!symbology || !ratio) return;
    appendMethod("Action.Print.Barcode", JsonObject::make({{"content", text(parameter.content())},
                                                           {"symbology", *symbology},
                                                           {"bar_dots", parameter.barDots()},
                                                           {"bar_ratio_level", *ratio},
                                                           {"height", parameter.height()},
                                                           {"print_hri", parameter.printHRI()}}));
}

void PrinterBaseBuilder::appendActionPrintPDF417(const Printer::PDF417Parameter& parameter) {
    const auto level = name(parameter.level());
    if (!level) return;
    appendMethod("Action.Print.Pdf417", JsonObject::make({{"content", text(parameter.content())},
                                                          {"column", parameter.column()},
                                                          {"line", parameter.line()},
                                                          {"module", parameter.module()},
                                                          {"aspect", parameter.aspect()},
                                                          {"level", *level}}));
}

void PrinterBaseBuilder::appendActionPrintQRCode(const Printer::QRCodeParameter& parameter) {
    const auto model = name(parameter.model());
    const auto level = name(parameter.level());
    if (!model || !level) return;
    appendMethod("Action.Print.QRCode", JsonObject::make({{"content", text(parameter.content())},
                                                          {"model", *model},
                                                          {"level", *level},
                                                          {"cell_size", parameter.cellSize()}}));
}

void PrinterBaseBuilder::appendActionPrintImage(const Printer::ImageParameter& parameter) {
    auto prepared = prepareImage(parameter);
    if (!prepared) return;
    appendMethod("Action.Print.Image", JsonObject::make({{"source", std::move(prepared->source)},
                                                         {"width", prepared->width},
                                                         {"height", prepared->height}}));
}

void PrinterBaseBuilder::appendActionPrintRuledLine(const Printer::RuledLineParameter& parameter) {
    const auto style = name(parameter.lineStyle());
    if (!style) return;
    appendMethod("Action.Print.RuledLine", JsonObject::make({{"x", parameter.x()},
                                                             {"width", parameter.width()},
                                                             {"thickness", parameter.thickness()},
                                                             {"lineStyle", *style}}));
}

void PrinterBaseBuilder::appendStylePrintDirection(Printer::PageModePrintDirection value) {
    appendEnumeration("Style.PrintDirection", "direction", value);
}
void PrinterBaseBuilder::appendStyleVerticalPositionTo(double position) {
    appendMethod("Style.VerticalPositionTo", JsonObject::make({{"position", position}}));
}
void PrinterBaseBuilder::appendStyleVerticalPositionBy(double position) {
    appendMethod("Style.VerticalPositionBy", JsonObject::make({{"position", position}}));
}

void PrinterBaseBuilder::appendActionPrintPageModeImage(const Printer::PageModeImageParameter& parameter) {
    Printer::ImageParameter image(parameter.image(), parameter.width());
    image.setThreshold(parameter.threshold()).setEffectDiffusion(parameter.effectDiffusion());
    auto prepared = prepareImage(image);
    if (!prepared) return;
    appendMethod("Action.Print.PageModeImage", JsonObject::make({{"source", std::move(prepared->source)},
                                                                 {"x", parameter.x()},
                                                                 {"y", parameter.y()},
                                                                 {"width", prepared->width},
                                                                 {"height", prepared->height}}));
}

void PrinterBaseBuilder::appendActionPrintPageModeRuledLine(
    const Printer::PageModeRuledLineParameter& parameter) {
    const auto style = name(parameter.lineStyle());
    if (!style) return;
    appendMethod("Action.Print.PageModeRuledLine", JsonObject::make({{"xStart", parameter.xStart()},
                                                                     {"yStart", parameter.yStart()},
                                                                     {"xEnd", parameter.xEnd()},
                                                                     {"yEnd", parameter.yEnd()},
                                                                     {"thickness", parameter.thickness()},
                                                                     {"lineStyle", *style}}));
}

void PrinterBaseBuilder::appendActionPrintPageModeRectangle(
    const Printer::PageModeRectangleParameter& parameter) {
    const auto style = name(parameter.lineStyle());
    if (!style) return;
    appendMethod("Action.Print.PageModeRectangle",
                 JsonObject::make({{"x", parameter.x()},
                                   {"y", parameter.y()},
                                   {"width", parameter.width()},
                                   {"height", parameter.height()},
                                   {"thickness", parameter.thickness()},
                                   {"lineStyle", *style},
                                   {"roundCorner", parameter.roundCorner()},
                                   {"cornerRadius", parameter.cornerRadius()}}));
}

void PrinterBaseBuilder::appendTemplateExtension(const std::optional<TemplateExtensionParameter>& extension) {
    if (!extension) return;
    appendMethod("parameters", "Setting.TemplateExtension",
                 JsonObject::make({{"enableArrayFieldData", extension->enableArrayFieldData()}}));
}

void PrinterBaseBuilder::appendPageModeArea(const Printer::PageModeAreaParameter& area) {
    appendMethod("parameters", "Style.PageMode.Area",
                 JsonObject::make(
                     {{"x", area.x()}, {"y", area.y()}, {"width", area.width()}, {"height", area.height()}}));
}

}  // namespace Prelix10::VelmarCommand
