#include "prelix10/compiler/BezelElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using PrinterCommandBuilder::Bezel::Builder;
using namespace ParameterReads;

BezelElementParser::BezelElementParser(Builder* b) : ElementParser(b, "Bezel") {
    if (b == nullptr || !PrinterCommandBuilder::CommonModelChecker::isSupportedBezel(b->getModel())) return;

    setContentsHandler("AutomaticPageLength", [b](const json* p) {
        bool notFound = false;
        const bool enable = JsonUtil::getBoolean(p, "enable", notFound);
        if (!notFound) b->appendAutomaticPageLength(enable);
    });
    setContentsHandler("Led.AutomaticBlink", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", DeviceKeywords::bezelLed(), notFound);
        const int onTime = JsonUtil::getInt(p, "on_time", notFound);
        const int offTime = JsonUtil::getInt(p, "off_time", notFound);
        if (notFound) return;
        b->appendLedAutomaticBlink(type, onTime, offTime);
        b->appendLedMode();
    });
}

}  // namespace VelmarCommandParser
