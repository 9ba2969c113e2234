#include "prelix10/builder/BezelSettingBuilder.hpp"

namespace Prelix10::VelmarCommand {

BezelSettingBuilder::BezelSettingBuilder() : CategoryBuilder("Bezel", false) {}

BezelSettingBuilder& BezelSettingBuilder::settingAutomaticPageLength(bool enable) {
    appendMethod("AutomaticPageLength", JsonObject::make({{"enable", enable}}));
    return *this;
}

BezelSettingBuilder& BezelSettingBuilder::settingLEDAutomaticBlink(
    const Bezel::LEDAutomaticBlinkParameter& parameter) {
    const auto type = jsonString(parameter.type());
    if (!type) return *this;
    appendMethod("Led.AutomaticBlink", JsonObject::make({{"type", JsonLiteral{*type}},
                                                         {"on_time", parameter.onTime()},
                                                         {"off_time", parameter.offTime()}}));
    return *this;
}

}  // namespace Prelix10::VelmarCommand
