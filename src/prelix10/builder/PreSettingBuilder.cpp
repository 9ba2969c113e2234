#include "prelix10/builder/PreSettingBuilder.hpp"

namespace Prelix10::VelmarCommand {

PreSettingBuilder::PreSettingBuilder() : CategoryBuilder("PreSetting", false) {}

PreSettingBuilder& PreSettingBuilder::addPresenterSetting(const PresenterSettingBuilder& builder) {
    appendChild(builder);
    return *this;
}

PreSettingBuilder& PreSettingBuilder::addBezelSetting(const BezelSettingBuilder& builder) {
    appendChild(builder);
    return *this;
}

}  // namespace Prelix10::VelmarCommand
