#include "prelix10/builder/MelodySpeakerBuilder.hpp"

#include "prelix10/builder/Base64.hpp"

namespace Prelix10::VelmarCommand {

MelodySpeakerBuilder::MelodySpeakerBuilder() : CategoryBuilder("MelodySpeaker", false) {}

MelodySpeakerBuilder& MelodySpeakerBuilder::actionDriveRegisteredSound(
    const MelodySpeaker::DriveRegisteredSoundParameter& parameter) {
    const auto area = jsonString(parameter.area());
    if (!area) return *this;
    appendMethod("Action.Drive.RegisteredSound", JsonObject::make({{"area", JsonLiteral{*area}},
                                                                   {"number", parameter.number()},
                                                                   {"volume", parameter.volume()}}));
    return *this;
}

MelodySpeakerBuilder& MelodySpeakerBuilder::actionDriveOneTimeSound(
    const MelodySpeaker::DriveOneTimeSoundParameter& parameter) {
    appendMethod("Action.Drive.OneTimeSound", JsonObject::make({{"source", base64Encode(parameter.source())},
                                                                {"volume", parameter.volume()}}));
    return *this;
}

}  // namespace Prelix10::VelmarCommand
