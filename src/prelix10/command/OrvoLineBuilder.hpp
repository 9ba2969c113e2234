#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class OrvoLineBuilder : public RootBuilder {
  public:
    OrvoLineBuilder(ByteBuffer* buffer, PrinterModel model);
    ~OrvoLineBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
