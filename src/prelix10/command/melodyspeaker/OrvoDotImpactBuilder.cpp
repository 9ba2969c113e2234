#include "prelix10/command/melodyspeaker/OrvoDotImpactBuilder.hpp"

#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void OrvoDotImpactBuilder::appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1,
                                                            int reserved2, int reserved3) {
    DriveRegisteredSound::orvoDotImpact(buffer_, area, number, volume, reserved1, reserved2, reserved3,
                                        model_);
}

void OrvoDotImpactBuilder::appendActionDriveOneTimeSound(const std::string& source, int volume) {
    DriveOneTimeSound::orvoDotImpact(buffer_, source, volume, model_);
}

}  // namespace PrinterCommandBuilder::MelodySpeaker
