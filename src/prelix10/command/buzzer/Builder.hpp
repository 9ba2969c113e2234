#pragma once

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/buzzer/BuzzerTypes.hpp"

namespace PrinterCommandBuilder::Buzzer {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    virtual void appendActionExecute(BuzzerChannel channel, int repeat) = 0;
    virtual void appendSetingExecuteTime(BuzzerChannel channel, int onTime, int offTime) = 0;
};

}  // namespace PrinterCommandBuilder::Buzzer
