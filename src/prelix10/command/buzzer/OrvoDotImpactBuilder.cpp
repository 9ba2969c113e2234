#include "prelix10/command/buzzer/OrvoDotImpactBuilder.hpp"

#include "prelix10/command/buzzer/Execute.hpp"
#include "prelix10/command/buzzer/ExecuteTime.hpp"

namespace PrinterCommandBuilder::Buzzer {

void OrvoDotImpactBuilder::appendActionExecute(BuzzerChannel channel, int repeat) {
    Execute::orvoCommon(buffer_, channel, repeat, model_);
}

void OrvoDotImpactBuilder::appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) {
    ExecuteTime::orvoCommon(buffer_, channel, onTime, offTime, model_);
}

}  // namespace PrinterCommandBuilder::Buzzer
