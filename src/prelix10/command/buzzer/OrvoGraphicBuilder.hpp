#pragma once

#include "prelix10/command/buzzer/Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {

class OrvoGraphicBuilder : public Builder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoGraphicBuilder() override = default;

    void appendActionExecute(BuzzerChannel channel, int repeat) override;
    void appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Buzzer
