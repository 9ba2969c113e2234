#include "prelix10/command/bezel/EscposMobileBuilder.hpp"

namespace PrinterCommandBuilder::Bezel {

void EscposMobileBuilder::appendAutomaticPageLength(bool) {}

void EscposMobileBuilder::appendLedMode() {}

void EscposMobileBuilder::appendLedAutomaticBlink(LedType, int, int) {}

}  // namespace PrinterCommandBuilder::Bezel
