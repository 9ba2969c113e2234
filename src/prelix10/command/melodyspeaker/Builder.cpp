#include "prelix10/command/melodyspeaker/Builder.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {}  // namespace PrinterCommandBuilder::MelodySpeaker
