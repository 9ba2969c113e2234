#include "prelix10/compiler/MelodySpeakerElementParser.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/compiler/DeviceKeywords.hpp"

namespace VelmarCommandParser {

using json = DocumentTree;
using PrinterCommandBuilder::MelodySpeaker::Builder;
using namespace ParameterReads;

MelodySpeakerElementParser::MelodySpeakerElementParser(Builder* b) : ElementParser(b, "MelodySpeaker") {
    if (b == nullptr || !PrinterCommandBuilder::CommonModelChecker::isSupportedMelodySpeaker(b->getModel()))
        return;

    setContentsHandler("Action.Drive.RegisteredSound", [b](const json* p) {
        bool notFound = false;
        const auto area = keyword(p, "area", DeviceKeywords::melodySpeakerArea(), notFound);
        const int number = JsonUtil::getInt(p, "number", notFound);
        // -1: no volume given, the speaker's own setting applies.
        const int volume = optionalInt(p, "volume", -1, notFound);
        if (!notFound) b->appendActionDriveRegisteredSound(area, number, volume, 1, 0, 0);
    });
    setContentsHandler("Action.Drive.OneTimeSound", [b](const json* p) {
        bool notFound = false;
        const std::string source = JsonUtil::getString(p, "source", notFound);
        const int volume = optionalInt(p, "volume", 8, notFound);
        if (!notFound) b->appendActionDriveOneTimeSound(source, volume);
    });
}

}  // namespace VelmarCommandParser
