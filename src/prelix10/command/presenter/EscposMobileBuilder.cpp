#include "prelix10/command/presenter/EscposMobileBuilder.hpp"

namespace PrinterCommandBuilder::Presenter {

void EscposMobileBuilder::appendMode(bool, bool, bool, int) {}

void EscposMobileBuilder::appendLedAutomaticBlink(LedType, int, int) {}

void EscposMobileBuilder::appendLedMode() {}

}  // namespace PrinterCommandBuilder::Presenter
