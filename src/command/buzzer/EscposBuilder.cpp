#include "command/buzzer/EscposBuilder.hpp"

#include "command/buzzer/Execute.hpp"
#include "command/buzzer/ExecuteTime.hpp"

namespace PrinterCommandBuilder::Buzzer {

void EscposBuilder::appendActionExecute(BuzzerChannel channel, int repeat) {
    Execute::escpos(buffer_, channel, repeat);
}

void EscposBuilder::appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) {
    ExecuteTime::escpos(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Buzzer
