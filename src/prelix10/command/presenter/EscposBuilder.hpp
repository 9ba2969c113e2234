#pragma once

#include "prelix10/command/presenter/Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

class EscposBuilder : public Builder {
  public:
    EscposBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposBuilder() override = default;

    void appendMode(bool loop, bool hold, bool retract, int holdTime) override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
    void appendLedMode() override;
};

}  // namespace PrinterCommandBuilder::Presenter
