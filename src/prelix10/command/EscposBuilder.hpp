#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class EscposBuilder : public RootBuilder {
  public:
    EscposBuilder(ByteBuffer* buffer, PrinterModel model);
    ~EscposBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
