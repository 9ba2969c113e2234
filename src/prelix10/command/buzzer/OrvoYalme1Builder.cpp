#include "prelix10/command/buzzer/OrvoYalme1Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {

void OrvoYalme1Builder::appendActionExecute(BuzzerChannel, int) {}

void OrvoYalme1Builder::appendSetingExecuteTime(BuzzerChannel, int, int) {}

}  // namespace PrinterCommandBuilder::Buzzer
