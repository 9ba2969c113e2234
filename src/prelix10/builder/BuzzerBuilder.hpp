#pragma once

#include "prelix10/core/Export.hpp"
#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/VelmarCommandEnumeration.hpp"

namespace Prelix10::VelmarCommand {

namespace Buzzer {

enum class Channel : int { No1, No2, No3, No4 };

class PRELIX10_EXPORT DriveParameter {
  public:
    DriveParameter() = default;
    Channel channel() const { return channel_; }
    int repeat() const { return repeat_; }
    int onTime() const { return onTime_; }
    int offTime() const { return offTime_; }
    DriveParameter& setChannel(Channel value) {
        channel_ = value;
        return *this;
    }
    DriveParameter& setRepeat(int value) {
        repeat_ = value;
        return *this;
    }
    // milliseconds
    DriveParameter& setOnTime(int value) {
        onTime_ = value;
        return *this;
    }
    // milliseconds
    DriveParameter& setOffTime(int value) {
        offTime_ = value;
        return *this;
    }

  private:
    Channel channel_ = Channel::No1;
    int repeat_ = 1;
    int onTime_ = 200;
    int offTime_ = 200;
};

}  // namespace Buzzer

// {"category": "Buzzer", "contents": [...]}
class PRELIX10_EXPORT BuzzerBuilder : public CategoryBuilder {
  public:
    BuzzerBuilder();
    BuzzerBuilder& actionDrive(const Buzzer::DriveParameter& parameter);
};

}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Buzzer::Channel, "No.1", "No.2", "No.3", "No.4");
