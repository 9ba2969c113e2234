#include "prelix10/compiler/BuzzerElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using PrinterCommandBuilder::Buzzer::Builder;
using namespace ParameterReads;

BuzzerElementParser::BuzzerElementParser(Builder* b) : ElementParser(b, "Buzzer") {
    if (b == nullptr || !PrinterCommandBuilder::CommonModelChecker::isSupportedBuzzer(b->getModel())) return;

    setContentsHandler("Action.Drive", [b](const json* p) {
        bool notFound = false;
        const auto channel = keyword(p, "channel", DeviceKeywords::buzzerChannel(), notFound);
        const int onTime = optionalInt(p, "on_time", 200, notFound);
        const int offTime = optionalInt(p, "off_time", 200, notFound);
        const int repeat = optionalInt(p, "repeat", 1, notFound);
        if (notFound) return;
        b->appendSetingExecuteTime(channel, onTime, offTime);
        b->appendActionExecute(channel, repeat);
    });
}

}  // namespace VelmarCommandParser
