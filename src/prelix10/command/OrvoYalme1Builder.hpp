#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class OrvoYalme1Builder : public RootBuilder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model);
    ~OrvoYalme1Builder() override = default;
};

}  // namespace PrinterCommandBuilder
