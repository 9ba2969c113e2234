#include "command/bezel/LedMode.hpp"

namespace PrinterCommandBuilder::Bezel {

void LedMode::kestrin(ByteBuffer*, PrinterModel, BezelSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Bezel
