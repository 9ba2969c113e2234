#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class OrvoLineBuilder : public Builder {
  public:
    OrvoLineBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoLineBuilder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
