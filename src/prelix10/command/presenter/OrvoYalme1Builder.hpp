#pragma once

#include "prelix10/command/presenter/Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;

    void appendMode(bool loop, bool hold, bool retract, int holdTime) override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
    void appendLedMode() override;
};

}  // namespace PrinterCommandBuilder::Presenter
