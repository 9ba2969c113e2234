#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class OrvoDotImpactBuilder : public Builder {
  public:
    OrvoDotImpactBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoDotImpactBuilder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
