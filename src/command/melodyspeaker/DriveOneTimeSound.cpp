#include "command/melodyspeaker/DriveOneTimeSound.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

void DriveOneTimeSound::kestrin(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoGraphic(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoLine(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoDotImpact(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoYalme1(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::escpos(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::escposMobile(ByteBuffer*, const std::string&, int, PrinterModel) {}

}  // namespace PrinterCommandBuilder::MelodySpeaker
