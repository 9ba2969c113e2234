#include "prelix10/command/bezel/OrvoGraphicBuilder.hpp"

namespace PrinterCommandBuilder::Bezel {

void OrvoGraphicBuilder::appendAutomaticPageLength(bool) {}

void OrvoGraphicBuilder::appendLedMode() {}

void OrvoGraphicBuilder::appendLedAutomaticBlink(LedType, int, int) {}

}  // namespace PrinterCommandBuilder::Bezel
