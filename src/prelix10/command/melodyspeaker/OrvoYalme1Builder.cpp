#include "prelix10/command/melodyspeaker/OrvoYalme1Builder.hpp"

#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void OrvoYalme1Builder::appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1,
                                                         int reserved2, int reserved3) {
    DriveRegisteredSound::orvoYalme1(buffer_, area, number, volume, reserved1, reserved2, reserved3, model_);
}

void OrvoYalme1Builder::appendActionDriveOneTimeSound(const std::string& source, int volume) {
    DriveOneTimeSound::orvoYalme1(buffer_, source, volume, model_);
}

}  // namespace PrinterCommandBuilder::MelodySpeaker
