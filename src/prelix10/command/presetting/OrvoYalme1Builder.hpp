#pragma once

#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;
};

}  // namespace PrinterCommandBuilder::PreSetting
