#include "prelix10/command/presenter/KestrinBuilder.hpp"

#include "prelix10/command/presenter/LedMode.hpp"
#include "prelix10/command/presenter/PresenterLed.hpp"
#include "prelix10/command/presenter/PresenterMode.hpp"

namespace PrinterCommandBuilder::Presenter {

void KestrinBuilder::appendMode(bool loop, bool hold, bool retract, int holdTime) {
    PresenterMode::orvoCommon(buffer_, loop, hold, retract, holdTime, model_);
}

void KestrinBuilder::appendLedAutomaticBlink(LedType type, int onTime, int offTime) {
    PresenterLed::kestrin(buffer_, type, onTime, offTime, model_, &presenterSettings_);
}

void KestrinBuilder::appendLedMode() {
    LedMode::kestrin(buffer_, model_, &presenterSettings_);
}

}  // namespace PrinterCommandBuilder::Presenter
