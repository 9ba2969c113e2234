#include "prelix10/command/presenter/OrvoLineBuilder.hpp"

#include "prelix10/command/presenter/LedMode.hpp"
#include "prelix10/command/presenter/PresenterLed.hpp"
#include "prelix10/command/presenter/PresenterMode.hpp"

namespace PrinterCommandBuilder::Presenter {

void OrvoLineBuilder::appendMode(bool loop, bool hold, bool retract, int holdTime) {
    PresenterMode::orvoCommon(buffer_, loop, hold, retract, holdTime, model_);
}

void OrvoLineBuilder::appendLedAutomaticBlink(LedType type, int onTime, int offTime) {
    PresenterLed::orvoLine(buffer_, type, onTime, offTime, model_, &presenterSettings_);
}

void OrvoLineBuilder::appendLedMode() {
    LedMode::orvoLine(buffer_, model_, &presenterSettings_);
}

}  // namespace PrinterCommandBuilder::Presenter
