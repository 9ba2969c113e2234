#include "prelix10/command/bezel/OrvoDotImpactBuilder.hpp"

namespace PrinterCommandBuilder::Bezel {

void OrvoDotImpactBuilder::appendAutomaticPageLength(bool) {}

void OrvoDotImpactBuilder::appendLedMode() {}

void OrvoDotImpactBuilder::appendLedAutomaticBlink(LedType, int, int) {}

}  // namespace PrinterCommandBuilder::Bezel
