#include "prelix10/command/bezel/OrvoLineBuilder.hpp"

namespace PrinterCommandBuilder::Bezel {

void OrvoLineBuilder::appendAutomaticPageLength(bool) {}

void OrvoLineBuilder::appendLedMode() {}

void OrvoLineBuilder::appendLedAutomaticBlink(LedType, int, int) {}

}  // namespace PrinterCommandBuilder::Bezel
