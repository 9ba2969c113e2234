#pragma once

#include "prelix10/command/buzzer/Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {

class KestrinBuilder : public Builder {
  public:
    KestrinBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~KestrinBuilder() override = default;

    void appendActionExecute(BuzzerChannel channel, int repeat) override;
    void appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Buzzer
