#include "prelix10/command/bezel/EscposBuilder.hpp"

namespace PrinterCommandBuilder::Bezel {

void EscposBuilder::appendAutomaticPageLength(bool) {}

void EscposBuilder::appendLedMode() {}

void EscposBuilder::appendLedAutomaticBlink(LedType, int, int) {}

}  // namespace PrinterCommandBuilder::Bezel
