#include "prelix10/command/buzzer/EscposMobileBuilder.hpp"

namespace PrinterCommandBuilder::Buzzer {

void EscposMobileBuilder::appendActionExecute(BuzzerChannel, int) {}

void EscposMobileBuilder::appendSetingExecuteTime(BuzzerChannel, int, int) {}

}  // namespace PrinterCommandBuilder::Buzzer
