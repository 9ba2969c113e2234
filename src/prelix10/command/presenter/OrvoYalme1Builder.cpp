#include "prelix10/command/presenter/OrvoYalme1Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

void OrvoYalme1Builder::appendMode(bool, bool, bool, int) {}

void OrvoYalme1Builder::appendLedAutomaticBlink(LedType, int, int) {}

void OrvoYalme1Builder::appendLedMode() {}

}  // namespace PrinterCommandBuilder::Presenter
