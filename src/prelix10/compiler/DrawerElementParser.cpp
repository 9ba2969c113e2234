#include "prelix10/compiler/DrawerElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using PrinterCommandBuilder::Drawer::Builder;
using namespace ParameterReads;

DrawerElementParser::DrawerElementParser(Builder* b) : ElementParser(b, "Drawer") {
    if (b == nullptr || !PrinterCommandBuilder::CommonModelChecker::isSupportedDrawer(b->getModel())) return;

    setContentsHandler("Action.Open", [b](const json* p) {
        bool notFound = false;
        const auto channel = keyword(p, "channel", DeviceKeywords::drawerChannel(), notFound);
        const int onTime = optionalInt(p, "on_time", 200, notFound);
        // The document gives one time; it is both the pulse and the pause.
        if (!notFound) b->appendActionExecute(channel, onTime, onTime);
    });
}

}  // namespace VelmarCommandParser
