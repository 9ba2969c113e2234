#include "prelix10/command/melodyspeaker/DriveRegisteredSound.hpp"

#include <algorithm>

#include "prelix10/command/melodyspeaker/Converter.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

// The request is the four-byte message FD, area, sound number, volume, sent as buzzer pulses.
void DriveRegisteredSound::kestrin(ByteBuffer* buffer, Area area, int number, int volume, int, int, int,
                                   PrinterModel) {
    if (buffer == nullptr) return;
    const char level = static_cast<char>(std::clamp(number, 0, 7));
    char areaByte;
    char volumeByte;
    if (volume == -1) {
        // No volume: the speaker plays at its own setting.
        areaByte = area == Area::Area2 ? 0x03 : 0x01;
        volumeByte = Converter::getMelodySpeakerCommand(0);
    } else {
        areaByte = area == Area::Area2 ? 0x10 : 0x0F;
        volumeByte = Converter::getMelodySpeakerCommand(static_cast<char>(std::clamp(volume, 0, 15)));
    }
    const char message[] = {static_cast<char>(0xFD), areaByte, Converter::getMelodySpeakerCommand(level),
                            volumeByte};
    Converter::savePrinterCommand(message, sizeof message, buffer);
}

// The other emulations have no melody speaker.
void DriveRegisteredSound::orvoGraphic(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoLine(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoDotImpact(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoYalme1(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::escpos(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::escposMobile(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

}  // namespace PrinterCommandBuilder::MelodySpeaker
