#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class EscposMobileBuilder : public RootBuilder {
  public:
    EscposMobileBuilder(ByteBuffer* buffer, PrinterModel model);
    ~EscposMobileBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
