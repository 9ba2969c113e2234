#include "prelix10/command/bezel/OrvoYalme1Builder.hpp"

namespace PrinterCommandBuilder::Bezel {

void OrvoYalme1Builder::appendAutomaticPageLength(bool) {}

void OrvoYalme1Builder::appendLedMode() {}

void OrvoYalme1Builder::appendLedAutomaticBlink(LedType, int, int) {}

}  // namespace PrinterCommandBuilder::Bezel
