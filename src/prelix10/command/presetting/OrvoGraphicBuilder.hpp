#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class OrvoGraphicBuilder : public Builder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoGraphicBuilder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
