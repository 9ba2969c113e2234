#pragma once

#include "prelix10/command/presenter/Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

class OrvoGraphicBuilder : public Builder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoGraphicBuilder() override = default;

    void appendMode(bool loop, bool hold, bool retract, int holdTime) override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
    void appendLedMode() override;
};

}  // namespace PrinterCommandBuilder::Presenter
