#include "command/melodyspeaker/WaveInformation.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

WaveInformation::WaveInformation(ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::MelodySpeaker
