#pragma once

#include "prelix10/command/presenter/Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

class OrvoDotImpactBuilder : public Builder {
  public:
    OrvoDotImpactBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoDotImpactBuilder() override = default;

    void appendMode(bool loop, bool hold, bool retract, int holdTime) override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
    void appendLedMode() override;
};

}  // namespace PrinterCommandBuilder::Presenter
