#pragma once

#include "prelix10/command/buzzer/Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {

class EscposMobileBuilder : public Builder {
  public:
    EscposMobileBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposMobileBuilder() override = default;

    void appendActionExecute(BuzzerChannel channel, int repeat) override;
    void appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Buzzer
