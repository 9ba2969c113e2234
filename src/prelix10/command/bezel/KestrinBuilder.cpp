#include "prelix10/command/bezel/KestrinBuilder.hpp"

#include "prelix10/command/bezel/BezelAutomaticPageLength.hpp"
#include "prelix10/command/bezel/BezelLed.hpp"
#include "prelix10/command/bezel/LedMode.hpp"

namespace PrinterCommandBuilder::Bezel {

void KestrinBuilder::appendAutomaticPageLength(bool enable) {
    BezelAutomaticPageLength::kestrin(buffer_, enable, model_);
}

void KestrinBuilder::appendLedMode() {
    LedMode::kestrin(buffer_, model_, &bezelSettings_);
}

void KestrinBuilder::appendLedAutomaticBlink(LedType type, int onTime, int offTime) {
    BezelLed::kestrin(buffer_, type, onTime, offTime, model_, &bezelSettings_);
}

}  // namespace PrinterCommandBuilder::Bezel
