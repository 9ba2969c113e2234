#include "prelix10/compiler/PrinterElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/JsonUtil.hpp"
#include "prelix10/compiler/ParameterReads.hpp"
#include "prelix10/compiler/PrinterKeywords.hpp"
#include "prelix10/compiler/PrinterPageModeElementParser.hpp"

namespace VelmarCommandParser {

using namespace PrinterCommandBuilder::Printer;
using json = DocumentTree;

using namespace ParameterReads;

PrinterElementParser::PrinterElementParser(Builder* builder, PageModeBuilder* pageModeBuilder)
    : PrinterElementParser(builder, "Printer") {
    addChild(this);
    if (pageModeBuilder) addOwnedChild(std::make_unique<PrinterPageModeElementParser>(pageModeBuilder));
    if (builder == nullptr ||
        !PrinterCommandBuilder::CommonModelChecker::isSupportedPrinter(builder->getModel()))
        clearContentsHandlers();
}

PrinterElementParser::PrinterElementParser(Builder* builder, std::string categoryName)
    : ElementParser(builder, std::move(categoryName)), printerBuilder_(builder) {
    registerPrinterMethods();
}

void PrinterElementParser::registerPrinterMethods() {
    Builder* const b = printerBuilder_;
    if (b == nullptr) return;

    setContentsHandler("Action.Cut", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", PrinterKeywords::cut(), notFound);
        if (!notFound) b->appendCut(type);
    });
    setContentsHandler("Action.Feed.Line", [b](const json* p) {
        bool notFound = false;
        const int lines = JsonUtil::getInt(p, "lines", notFound);
        if (!notFound) b->appendLineFeed(lines);
    });
    setContentsHandler("Action.Feed.Unit", [b](const json* p) {
        bool notFound = false;
        const double height = JsonUtil::getDouble(p, "height", notFound);
        if (!notFound) b->appendUnitFeed(height);
    });
    setContentsHandler("Action.Feed.Separator", [b](const json*) { b->appendSeparatorFeed(); });
    setContentsHandler("Action.Print.Barcode", [b](const json* p) {
        bool notFound = false;
        const auto symbology = keyword(p, "symbology", PrinterKeywords::barcode(), notFound);
        const std::string content = JsonUtil::getString(p, "content", notFound);
        const bool hri = optionalBoolean(p, "print_hri", false, notFound);
        const int barDots = optionalInt(p, "bar_dots", 2, notFound);
        const auto ratio = optionalKeyword(p, "bar_ratio_level", PrinterKeywords::barRatio(),
                                           BarRatioLevel::Level0, notFound);
        const double height = optionalDouble(p, "height", 160.0, notFound);
        if (!notFound) b->appendBarcode(symbology, content, hri, barDots, ratio, height);
    });
    setContentsHandler("Action.Print.Image", [b](const json* p) {
        bool notFound = false;
        const std::string_view source = JsonUtil::getStringRef(p, "source", notFound);
        const int width = optionalInt(p, "width", 0, notFound);
        const int height = optionalInt(p, "height", 0, notFound);
        if (!notFound) b->appendImage(source, width, height);
    });
    setContentsHandler("Action.Print.Logo", [b](const json* p) {
        bool notFound = false;
        const std::string keyCode = JsonUtil::getString(p, "key_code", notFound);
        const int width = optionalInt(p, "width", 1, notFound);
        const int height = optionalInt(p, "height", 1, notFound);
        if (!notFound) b->appendLogo(keyCode, width, height);
    });
    setContentsHandler("Action.Print.Pdf417", [b](const json* p) {
        bool notFound = false;
        const std::string content = JsonUtil::getString(p, "content", notFound);
        const int line = optionalInt(p, "line", 0, notFound);
        const int column = optionalInt(p, "column", 3, notFound);
        // An unknown level keyword prints with Ecc1; only a level of another JSON type skips.
        auto level = Pdf417EccLevel::Ecc2;
        if (JsonUtil::contains(p, "level")) {
            const std::string text = JsonUtil::getString(p, "level", notFound);
            const auto found = PrinterKeywords::pdf417Level().find(text);
            level = found == PrinterKeywords::pdf417Level().end() ? Pdf417EccLevel::Ecc1 : found->second;
        }
        const int module = optionalInt(p, "module", 2, notFound);
        const int aspect = optionalInt(p, "aspect", 2, notFound);
        if (!notFound) b->appendPdf417(content, line, column, level, module, aspect);
    });
    setContentsHandler("Action.Print.QRCode", [b](const json* p) {
        bool notFound = false;
        const std::string content = JsonUtil::getString(p, "content", notFound);
        const auto model =
            optionalKeyword(p, "model", PrinterKeywords::qrModel(), QrCodeModel::Model2, notFound);
        const auto level =
            optionalKeyword(p, "level", PrinterKeywords::qrLevel(), QrCodeErrorCorrectionLevel::M, notFound);
        const int cellSize = optionalInt(p, "cell_size", 3, notFound);
        if (!notFound) b->appendQrCode(content, model, level, cellSize);
    });
    setContentsHandler("Action.Print.Text", [b](const json* p) {
        bool notFound = false;
        const std::string content(JsonUtil::getStringRef(p, "content", notFound));
        TextWidthParameter width;
        if (JsonUtil::contains(p, "width")) {
            width.widthSpecified = true;
            width.width = JsonUtil::getInt(p, "width", notFound);
            width.widthType = keyword(p, "widthType", PrinterKeywords::textWidthType(), notFound);
            width.alignment = keyword(p, "alignment", PrinterKeywords::textAlignment(), notFound);
            width.ellipsizeType = keyword(p, "ellipsizeType", PrinterKeywords::ellipsize(), notFound);
            width.printType = keyword(p, "printType", PrinterKeywords::printType(), notFound);
        }
        if (!notFound) b->appendText(content, width);
    });
    setContentsHandler("Action.Print.RuledLine", [b](const json* p) {
        bool notFound = false;
        const double x = JsonUtil::getDouble(p, "x", notFound);
        const double width = JsonUtil::getDouble(p, "width", notFound);
        const double thickness = JsonUtil::getDouble(p, "thickness", notFound);
        const auto style = keyword(p, "lineStyle", PrinterKeywords::lineStyle(), notFound);
        if (!notFound) b->appendRuledLine(x, width, thickness, style);
    });
    setContentsHandler("Style.Alignment", [b](const json* p) {
        bool notFound = false;
        const auto position = keyword(p, "position", PrinterKeywords::alignment(), notFound);
        if (!notFound) b->appendAlignment(position);
    });
    setContentsHandler("Style.InternationalCharacter", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", PrinterKeywords::international(), notFound);
        if (!notFound) b->appendTextDecorationInternationalCharacter(type);
    });
    setContentsHandler("Style.HorizontalPositionBy", [b](const json* p) {
        bool notFound = false;
        const double position = JsonUtil::getDouble(p, "position", notFound);
        if (!notFound) b->appendHorizontalPositionBy(position);
    });
    setContentsHandler("Style.HorizontalPositionTo", [b](const json* p) {
        bool notFound = false;
        const double position = JsonUtil::getDouble(p, "position", notFound);
        if (!notFound) b->appendHorizontalPositionTo(position);
    });
    setContentsHandler("Style.HorizontalTabPositions", [b](const json* p) {
        bool notFound = false;
        const auto positions = JsonUtil::getIntArray(p, "positions", notFound);
        if (!notFound) b->appendTextDecorationHorizontalTabPositions(positions);
    });
    setContentsHandler("Style.SecondPriorityCharacterEncoding", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", PrinterKeywords::secondPriority(), notFound);
        if (!notFound) b->appendTextDecorationSecondPriorityCharacterEncoding(type);
    });
    setContentsHandler("Style.CjkCharacterPriority", [b](const json* p) {
        bool notFound = false;
        const auto types = JsonUtil::getArray(p, "types", PrinterKeywords::cjkPriority(), notFound);
        if (!notFound) b->appendTextDecorationCjkCharacterPriority(types);
    });
    setContentsHandler("Style.AmbiguousCharacterWidthType", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", PrinterKeywords::ambiguousWidth(), notFound);
        if (!notFound) b->appendTextDecorationAmbiguousCharacterWidthType(type);
    });
    setContentsHandler("Style.Bold", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        if (!notFound) b->appendTextDecorationBold(enable);
    });
    setContentsHandler("Style.UnderLine", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        if (!notFound) b->appendTextDecorationUnderLine(enable);
    });
    setContentsHandler("Style.Invert", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        if (!notFound) b->appendTextDecorationInvert(enable);
    });
    setContentsHandler("Style.Magnification", [b](const json* p) {
        bool notFound = false;
        const int width = JsonUtil::getInt(p, "width", notFound);
        const int height = JsonUtil::getInt(p, "height", notFound);
        if (!notFound) b->appendTextDecorationExpansionRate(width, height);
    });
    setContentsHandler("Style.Font", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", PrinterKeywords::font(), notFound);
        if (!notFound) b->appendTextDecorationFont(type);
    });
    setContentsHandler("Style.CharacterSpace", [b](const json* p) {
        bool notFound = false;
        const double width = JsonUtil::getDouble(p, "width", notFound);
        if (!notFound) b->appendTextDecorationCharacterSpace(width);
    });
    setContentsHandler("Style.LineSpace", [b](const json* p) {
        bool notFound = false;
        const double height = JsonUtil::getDouble(p, "height", notFound);
        if (!notFound) b->appendTextDecorationLineSpace(height);
    });
    setContentsHandler("Style.BaseMagnification", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "text", PrinterKeywords::baseMagnification(), notFound);
        if (!notFound) b->appendDecorationBaseMagnification(type);
    });
}

}  // namespace VelmarCommandParser
