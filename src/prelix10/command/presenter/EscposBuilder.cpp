#include "prelix10/command/presenter/EscposBuilder.hpp"

namespace PrinterCommandBuilder::Presenter {

void EscposBuilder::appendMode(bool, bool, bool, int) {}

void EscposBuilder::appendLedAutomaticBlink(LedType, int, int) {}

void EscposBuilder::appendLedMode() {}

}  // namespace PrinterCommandBuilder::Presenter
