#include "prelix10/command/melodyspeaker/EscposBuilder.hpp"

#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void EscposBuilder::appendActionDriveRegisteredSound(Area area, int number, int volume, int reserved1,
                                                     int reserved2, int reserved3) {
    DriveRegisteredSound::escpos(buffer_, area, number, volume, reserved1, reserved2, reserved3, model_);
}

void EscposBuilder::appendActionDriveOneTimeSound(const std::string& source, int volume) {
    DriveOneTimeSound::escpos(buffer_, source, volume, model_);
}

}  // namespace PrinterCommandBuilder::MelodySpeaker
