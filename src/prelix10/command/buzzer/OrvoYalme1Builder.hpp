#pragma once

#include "prelix10/command/buzzer/Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;

    void appendActionExecute(BuzzerChannel channel, int repeat) override;
    void appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Buzzer
