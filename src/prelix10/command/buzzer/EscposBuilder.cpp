#include "prelix10/command/buzzer/EscposBuilder.hpp"

#include "prelix10/command/buzzer/Execute.hpp"
#include "prelix10/command/buzzer/ExecuteTime.hpp"

namespace PrinterCommandBuilder::Buzzer {

void EscposBuilder::appendActionExecute(BuzzerChannel channel, int repeat) {
    Execute::escpos(buffer_, channel, repeat);
}

void EscposBuilder::appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) {
    ExecuteTime::escpos(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Buzzer
