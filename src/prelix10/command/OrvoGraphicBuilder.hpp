#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class OrvoGraphicBuilder : public RootBuilder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model);
    ~OrvoGraphicBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
