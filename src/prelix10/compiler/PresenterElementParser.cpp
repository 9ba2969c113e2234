#include "prelix10/compiler/PresenterElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using PrinterCommandBuilder::Presenter::Builder;
using namespace ParameterReads;

PresenterElementParser::PresenterElementParser(Builder* b) : ElementParser(b, "Presenter") {
    if (b == nullptr || !PrinterCommandBuilder::CommonModelChecker::isSupportedPresenter(b->getModel()))
        return;

    setContentsHandler("Mode", [b](const json* p) {
        bool notFound = false;
        const int holdTime = JsonUtil::getInt(p, "hold_time", notFound);
        const bool loop = JsonUtil::getBoolean(p, "loop", notFound);
        const bool hold = JsonUtil::getBoolean(p, "hold", notFound);
        const bool retract = JsonUtil::getBoolean(p, "retract", notFound);
        if (!notFound) b->appendMode(loop, hold, retract, holdTime);
    });
    setContentsHandler("Led.AutomaticBlink", [b](const json* p) {
        bool notFound = false;
        const auto type = keyword(p, "type", DeviceKeywords::presenterLed(), notFound);
        const int onTime = JsonUtil::getInt(p, "on_time", notFound);
        const int offTime = JsonUtil::getInt(p, "off_time", notFound);
        if (notFound) return;
        b->appendLedAutomaticBlink(type, onTime, offTime);
        b->appendLedMode();
    });
}

}  // namespace VelmarCommandParser
