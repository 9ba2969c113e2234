#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class EscposMobileBuilder : public Builder {
  public:
    EscposMobileBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposMobileBuilder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
