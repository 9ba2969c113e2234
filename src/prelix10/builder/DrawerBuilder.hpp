#pragma once

#include "prelix10/core/Export.hpp"
#include "prelix10/builder/CategoryBuilder.hpp"
#include "prelix10/builder/VelmarCommandEnumeration.hpp"

namespace Prelix10::VelmarCommand {

namespace Drawer {

enum class Channel : int { No1, No2, No3, No4 };

class PRELIX10_EXPORT OpenParameter {
  public:
    OpenParameter() = default;
    Channel channel() const { return channel_; }
    int onTime() const { return onTime_; }
    OpenParameter& setChannel(Channel value) {
        channel_ = value;
        return *this;
    }
    // milliseconds
    OpenParameter& setOnTime(int value) {
        onTime_ = value;
        return *this;
    }

  private:
    Channel channel_ = Channel::No1;
    int onTime_ = 200;
};

}  // namespace Drawer

// {"category": "Drawer", "contents": [...]}
class PRELIX10_EXPORT DrawerBuilder : public CategoryBuilder {
  public:
    DrawerBuilder();
    DrawerBuilder& actionOpen(const Drawer::OpenParameter& parameter);
};

}  // namespace Prelix10::VelmarCommand

PRELIX10_ENUMERATION_TABLE(Prelix10::VelmarCommand::Drawer::Channel, "No.1", "No.2", "No.3", "No.4");
