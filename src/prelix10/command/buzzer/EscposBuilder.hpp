#pragma once

#include "prelix10/command/buzzer/Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {

class EscposBuilder : public Builder {
  public:
    EscposBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposBuilder() override = default;

    void appendActionExecute(BuzzerChannel channel, int repeat) override;
    void appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Buzzer
