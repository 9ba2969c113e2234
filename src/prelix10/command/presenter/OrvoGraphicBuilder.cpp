#include "prelix10/command/presenter/OrvoGraphicBuilder.hpp"

namespace PrinterCommandBuilder::Presenter {

void OrvoGraphicBuilder::appendMode(bool, bool, bool, int) {}

void OrvoGraphicBuilder::appendLedAutomaticBlink(LedType, int, int) {}

void OrvoGraphicBuilder::appendLedMode() {}

}  // namespace PrinterCommandBuilder::Presenter
