#include "command/melodyspeaker/DriveRegisteredSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void DriveRegisteredSound::kestrin(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoGraphic(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoLine(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoDotImpact(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::orvoYalme1(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::escpos(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

void DriveRegisteredSound::escposMobile(ByteBuffer*, Area, int, int, int, int, int, PrinterModel) {}

}  // namespace PrinterCommandBuilder::MelodySpeaker
