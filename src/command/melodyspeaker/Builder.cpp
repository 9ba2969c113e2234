#include "command/melodyspeaker/Builder.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {}  // namespace PrinterCommandBuilder::MelodySpeaker
