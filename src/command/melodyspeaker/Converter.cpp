#include "command/melodyspeaker/Converter.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

char Converter::getMelodySpeakerCommand(char) {
    return 0;
}

void Converter::savePrinterCommand(const char*, std::size_t, ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::MelodySpeaker
