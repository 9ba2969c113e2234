#include "prelix10/command/melodyspeaker/EscposMobileBuilder.hpp"

#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void EscposMobileBuilder::appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1,
                                                           int reserved2, int reserved3) {
    DriveRegisteredSound::escposMobile(buffer_, area, number, volume, reserved1, reserved2, reserved3,
                                       model_);
}

void EscposMobileBuilder::appendActionDriveOneTimeSound(const std::string& source, int volume) {
    DriveOneTimeSound::escposMobile(buffer_, source, volume, model_);
}

}  // namespace PrinterCommandBuilder::MelodySpeaker
