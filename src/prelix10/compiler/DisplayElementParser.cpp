#include "prelix10/compiler/DisplayElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"
#include "prelix10/compiler/JsonUtil.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using PrinterCommandBuilder::Display::Builder;
using namespace ParameterReads;

DisplayElementParser::DisplayElementParser(Builder* b) : ElementParser(b, "Display") {
    if (b == nullptr || !PrinterCommandBuilder::CommonModelChecker::isSupportedDisplay(b->getModel())) return;

    setContentsHandler("Action.Clear.All", [b](const json*) { b->appendClearAll(); });
    setContentsHandler("Action.Clear.Line", [b](const json*) { b->appendClearLine(); });
    setContentsHandler("Action.Set.BackLightState", [b](const json* p) {
        bool notFound = false;
        const bool on = JsonUtil::getBoolean(p, "on", notFound);
        if (!notFound) b->appendBackLight(on);
    });
    setContentsHandler("Action.Set.Contrast", [b](const json* p) {
        bool notFound = false;
        const auto value = keyword(p, "value", DeviceKeywords::displayContrast(), notFound);
        if (!notFound) b->appendContrast(value);
    });
    setContentsHandler("Action.Set.CursorState", [b](const json* p) {
        bool notFound = false;
        const auto value = keyword(p, "value", DeviceKeywords::displayCursorState(), notFound);
        if (!notFound) b->appendCursorState(value);
    });
    setContentsHandler("Action.Show.Image", [b](const json* p) {
        bool notFound = false;
        const std::string source = JsonUtil::getString(p, "source", notFound);
        const int width = JsonUtil::getInt(p, "width", notFound);
        const int height = JsonUtil::getInt(p, "height", notFound);
        if (!notFound) b->appendImage(source, width, height);
    });
    setContentsHandler("Action.Show.Text", [b](const json* p) {
        bool notFound = false;
        const std::string content = JsonUtil::getString(p, "content", notFound);
        if (!notFound) b->appendText(content);
    });
    setContentsHandler("Style.CursorPositionTo", [b](const json* p) {
        bool notFound = false;
        // Numbers, truncated toward zero (and saturated) to whole positions.
        const int x = JsonUtil::getInt(p, "x", notFound);
        const int y = JsonUtil::getInt(p, "y", notFound);
        if (!notFound) b->appendCursorPosition(x, y);
    });
    setContentsHandler("Style.CharacterEncoding", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", DeviceKeywords::displayEncoding(), notFound);
        if (!notFound) b->appendCharacterEncoding(type);
    });
    setContentsHandler("Style.InternationalCharacter", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", DeviceKeywords::displayInternationalCharacter(), notFound);
        if (!notFound) b->appendInternationalCharacter(type);
    });
}

}  // namespace VelmarCommandParser
