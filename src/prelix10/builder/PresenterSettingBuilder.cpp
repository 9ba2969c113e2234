#include "prelix10/builder/PresenterSettingBuilder.hpp"

namespace Prelix10::VelmarCommand {

PresenterSettingBuilder::PresenterSettingBuilder() : CategoryBuilder("Presenter", false) {}

PresenterSettingBuilder& PresenterSettingBuilder::settingMode(const Presenter::ModeParameter& parameter) {
    appendMethod("Mode", JsonObject::make({{"loop", parameter.loop()},
                                           {"hold", parameter.hold()},
                                           {"retract", parameter.retract()},
                                           {"hold_time", parameter.holdTime()}}));
    return *this;
}

PresenterSettingBuilder& PresenterSettingBuilder::settingLEDAutomaticBlink(
    const Presenter::LEDAutomaticBlinkParameter& parameter) {
    const auto type = jsonString(parameter.type());
    if (!type) return *this;
    appendMethod("Led.AutomaticBlink", JsonObject::make({{"type", JsonLiteral{*type}},
                                                         {"on_time", parameter.onTime()},
                                                         {"off_time", parameter.offTime()}}));
    return *this;
}

}  // namespace Prelix10::VelmarCommand
