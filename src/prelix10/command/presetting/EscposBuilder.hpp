#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class EscposBuilder : public Builder {
  public:
    EscposBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposBuilder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
