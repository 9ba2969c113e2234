#include "command/bezel/BezelLed.hpp"

namespace PrinterCommandBuilder::Bezel {

void BezelLed::kestrin(ByteBuffer*, LedType, int, int, PrinterModel, BezelSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Bezel
