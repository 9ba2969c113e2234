#pragma once

#include "prelix10/core/Export.hpp"
#include "prelix10/builder/BezelSettingBuilder.hpp"
#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/PresenterSettingBuilder.hpp"

namespace Prelix10::VelmarCommand {

// The block of presenter and bezel settings written ahead of all documents:
// {"category": "PreSetting", "contents": [...]}.
class PRELIX10_EXPORT PreSettingBuilder : public CategoryBuilder {
  public:
    PreSettingBuilder();
    PreSettingBuilder& addPresenterSetting(const PresenterSettingBuilder& builder);
    PreSettingBuilder& addBezelSetting(const BezelSettingBuilder& builder);
};

}  // namespace Prelix10::VelmarCommand
