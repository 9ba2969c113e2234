#pragma once

#include "prelix10/core/Export.hpp"
#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/VelmarCommandEnumeration.hpp"

namespace Prelix10::VelmarCommand {

namespace Presenter {

enum class LEDType : int { Holding, Error, Idle };

class PRELIX10_EXPORT ModeParameter {
  public:
    ModeParameter() = default;
    bool loop() const { return loop_; }
    bool hold() const { return hold_; }
    bool retract() const { return retract_; }
    int holdTime() const { return holdTime_; }
    ModeParameter& setLoop(bool value) {
        loop_ = value;
        return *this;
    }
    ModeParameter& setHold(bool value) {
        hold_ = value;
        return *this;
    }
    ModeParameter& setRetract(bool value) {
        retract_ = value;
        return *this;
    }
    ModeParameter& setHoldTime(int value) {
        holdTime_ = value;
        return *this;
    }

  private:
    bool loop_ = false;
    bool hold_ = false;
    bool retract_ = false;
    int holdTime_ = 0;
};

class PRELIX10_EXPORT LEDAutomaticBlinkParameter {
  public:
    explicit LEDAutomaticBlinkParameter(LEDType type) : type_(type) {}
    LEDType type() const { return type_; }
    int onTime() const { return onTime_; }
    int offTime() const { return offTime_; }
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

}  // namespace Presenter

// {"category": "Presenter", "contents": [...]}; goes into a pre-setting block.
class PRELIX10_EXPORT PresenterSettingBuilder : public CategoryBuilder {
  public:
    PresenterSettingBuilder();
    PresenterSettingBuilder& settingMode(const Presenter::ModeParameter& parameter);
    PresenterSettingBuilder& settingLEDAutomaticBlink(const Presenter::LEDAutomaticBlinkParameter& parameter);
};

}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Presenter::LEDType, "Holding", "Error", "Idle");
