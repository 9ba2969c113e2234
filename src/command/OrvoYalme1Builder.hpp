#pragma once

#include "command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class OrvoYalme1Builder : public RootBuilder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model);
    ~OrvoYalme1Builder() override = default;
};

}  // namespace PrinterCommandBuilder
