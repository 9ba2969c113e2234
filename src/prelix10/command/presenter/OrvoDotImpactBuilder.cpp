#include "prelix10/command/presenter/OrvoDotImpactBuilder.hpp"

namespace PrinterCommandBuilder::Presenter {

void OrvoDotImpactBuilder::appendMode(bool, bool, bool, int) {}

void OrvoDotImpactBuilder::appendLedAutomaticBlink(LedType, int, int) {}

void OrvoDotImpactBuilder::appendLedMode() {}

}  // namespace PrinterCommandBuilder::Presenter
