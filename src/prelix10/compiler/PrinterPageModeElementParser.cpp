#include "prelix10/compiler/PrinterPageModeElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/JsonUtil.hpp"
#include "prelix10/compiler/ParameterReads.hpp"
#include "prelix10/compiler/PrinterKeywords.hpp"

namespace VelmarCommandParser {

using namespace PrinterCommandBuilder::Printer;
using json = DocumentTree;

using namespace ParameterReads;

PrinterPageModeElementParser::PrinterPageModeElementParser(PageModeBuilder* builder)
    : PrinterElementParser(builder, "PageMode"), pageModeBuilder_(builder) {
    addChild(this);
    PageModeBuilder* const b = pageModeBuilder_;
    if (b == nullptr) return;
    setParametersHandler("Style.PageMode.Area", [b](const json* p) {
        bool notFound = false;
        const double x = JsonUtil::getDouble(p, "x", notFound);
        const double y = JsonUtil::getDouble(p, "y", notFound);
        const double width = JsonUtil::getDouble(p, "width", notFound);
        const double height = JsonUtil::getDouble(p, "height", notFound);
        if (!notFound) static_cast<Builder*>(b)->appendArea(x, y, width, height);
    });
    setContentsHandler("Style.VerticalPositionBy", [b](const json* p) {
        bool notFound = false;
        const double position = JsonUtil::getDouble(p, "position", notFound);
        if (!notFound) b->styleVerticalPositionBy(position);
    });
    setContentsHandler("Style.VerticalPositionTo", [b](const json* p) {
        bool notFound = false;
        const double position = JsonUtil::getDouble(p, "position", notFound);
        if (!notFound) b->styleVerticalPositionTo(position);
    });
    setContentsHandler("Style.PrintDirection", [b](const json* p) {
        bool notFound = false;
        const auto direction = keyword(p, "direction", PrinterKeywords::direction(), notFound);
        if (!notFound) b->stylePrintDirection(direction);
    });
    setContentsHandler("Action.Print.PageModeImage", [b](const json* p) {
        bool notFound = false;
        const std::string source = JsonUtil::getString(p, "source", notFound);
        const double x = JsonUtil::contains(p, "x") ? JsonUtil::getDouble(p, "x", notFound) : 0.0;
        const double y = JsonUtil::contains(p, "y") ? JsonUtil::getDouble(p, "y", notFound) : 0.0;
        const int width = JsonUtil::contains(p, "width") ? JsonUtil::getInt(p, "width", notFound) : 0;
        const int height = JsonUtil::contains(p, "height") ? JsonUtil::getInt(p, "height", notFound) : 0;
        if (!notFound) b->appendImage(source, x, y, width, height);
    });
    setContentsHandler("Action.Print.PageModeRuledLine", [b](const json* p) {
        bool notFound = false;
        const double xStart = JsonUtil::getDouble(p, "xStart", notFound);
        const double yStart = JsonUtil::getDouble(p, "yStart", notFound);
        const double xEnd = JsonUtil::getDouble(p, "xEnd", notFound);
        const double yEnd = JsonUtil::getDouble(p, "yEnd", notFound);
        const double thickness = JsonUtil::getDouble(p, "thickness", notFound);
        const auto style = keyword(p, "lineStyle", PrinterKeywords::lineStyle(), notFound);
        if (!notFound) b->appendRuledLine(xStart, yStart, xEnd, yEnd, thickness, style);
    });
    setContentsHandler("Action.Print.PageModeRectangle", [b](const json* p) {
        bool notFound = false;
        const double x = JsonUtil::getDouble(p, "x", notFound);
        const double y = JsonUtil::getDouble(p, "y", notFound);
        const double width = JsonUtil::getDouble(p, "width", notFound);
        const double height = JsonUtil::getDouble(p, "height", notFound);
        const double thickness = JsonUtil::getDouble(p, "thickness", notFound);
        const bool roundCorner = JsonUtil::getBoolean(p, "roundCorner", notFound);
        const double cornerRadius = JsonUtil::getDouble(p, "cornerRadius", notFound);
        const auto style = keyword(p, "lineStyle", PrinterKeywords::lineStyle(), notFound);
        if (!notFound) b->appendRectangle(x, y, width, height, thickness, style, roundCorner, cornerRadius);
    });
    if (!PrinterCommandBuilder::CommonModelChecker::isSupportedPrinter(b->getModel()))
        clearContentsHandlers();
}

}  // namespace VelmarCommandParser
