#pragma once

#include "prelix10/command/presenter/Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

class KestrinBuilder : public Builder {
  public:
    KestrinBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~KestrinBuilder() override = default;

    void appendMode(bool loop, bool hold, bool retract, int holdTime) override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
    void appendLedMode() override;
};

}  // namespace PrinterCommandBuilder::Presenter
