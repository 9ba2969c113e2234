#include "prelix10/command/buzzer/KestrinBuilder.hpp"

#include "prelix10/command/buzzer/Execute.hpp"
#include "prelix10/command/buzzer/ExecuteTime.hpp"

namespace PrinterCommandBuilder::Buzzer {

void KestrinBuilder::appendActionExecute(BuzzerChannel channel, int repeat) {
    Execute::orvoCommon(buffer_, channel, repeat, model_);
}

void KestrinBuilder::appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) {
    ExecuteTime::orvoCommon(buffer_, channel, onTime, offTime, model_);
}

}  // namespace PrinterCommandBuilder::Buzzer
