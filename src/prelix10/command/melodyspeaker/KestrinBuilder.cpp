#include "prelix10/command/melodyspeaker/KestrinBuilder.hpp"

#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void KestrinBuilder::appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1,
                                                      int reserved2, int reserved3) {
    DriveRegisteredSound::kestrin(buffer_, area, number, volume, reserved1, reserved2, reserved3, model_);
}

void KestrinBuilder::appendActionDriveOneTimeSound(const std::string& source, int volume) {
    DriveOneTimeSound::kestrin(buffer_, source, volume, model_);
}

}  // namespace PrinterCommandBuilder::MelodySpeaker
