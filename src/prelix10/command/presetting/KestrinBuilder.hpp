#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class KestrinBuilder : public Builder {
  public:
    KestrinBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~KestrinBuilder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
