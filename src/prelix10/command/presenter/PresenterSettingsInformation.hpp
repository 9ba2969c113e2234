#pragma once

#include <cstdint>
#include <map>

namespace PrinterCommandBuilder::Presenter {

enum class LedType : std::int32_t { Error = 0, Holding = 1, Idle = 2 };

// The stored LED on-times in milliseconds; an LED never set reads as 0.
class PresenterSettingsInformation {
  public:
    std::int32_t onTime(LedType type) { return onTimes[type]; }
    void setOnTime(LedType type, std::int32_t milliseconds) { onTimes[type] = milliseconds; }

    std::map<LedType, std::int32_t> onTimes;
};

}  // namespace PrinterCommandBuilder::Presenter
