#include "prelix10/command/buzzer/OrvoLineBuilder.hpp"

#include "prelix10/command/buzzer/Execute.hpp"
#include "prelix10/command/buzzer/ExecuteTime.hpp"

namespace PrinterCommandBuilder::Buzzer {

void OrvoLineBuilder::appendActionExecute(BuzzerChannel channel, int repeat) {
    Execute::orvoCommon(buffer_, channel, repeat, model_);
}

void OrvoLineBuilder::appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) {
    ExecuteTime::orvoCommon(buffer_, channel, onTime, offTime, model_);
}

}  // namespace PrinterCommandBuilder::Buzzer
