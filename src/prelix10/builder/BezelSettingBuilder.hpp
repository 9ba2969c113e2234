#pragma once

#include "prelix10/core/Export.hpp"
#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/VelmarCommandEnumeration.hpp"

namespace Prelix10::VelmarCommand {

namespace Bezel {

enum class LEDType : int { Holding, Error, Idle };

class PRELIX10_EXPORT LEDAutomaticBlinkParameter {
  public:
    explicit LEDAutomaticBlinkParameter(LEDType type) : type_(type) {}
    LEDType type() const { return type_; }
    int onTime() const { return onTime_; }
    int offTime() const { return offTime_; }
    LEDAutomaticBlinkParameter& setType(LEDType value) {
        type_ = value;
        return *this;
    }
    LEDAutomaticBlinkParameter& setOnTime(int value) {
        onTime_ = value;
        return *this;
    }
    LEDAutomaticBlinkParameter& setOffTime(int value) {
        offTime_ = value;
        return *this;
    }

  private:
    LEDType type_;
    int onTime_ = 100;
    int offTime_ = 100;
};

}  // namespace Bezel

// {"category": "Bezel", "contents": [...]}; goes into a pre-setting block.
class PRELIX10_EXPORT BezelSettingBuilder : public CategoryBuilder {
  public:
    BezelSettingBuilder();
    BezelSettingBuilder& settingAutomaticPageLength(bool enable);
    BezelSettingBuilder& settingLEDAutomaticBlink(const Bezel::LEDAutomaticBlinkParameter& parameter);
};

}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Bezel::LEDType, "Holding", "Error", "Idle");
