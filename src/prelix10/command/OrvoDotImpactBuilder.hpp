#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class OrvoDotImpactBuilder : public RootBuilder {
  public:
    OrvoDotImpactBuilder(ByteBuffer* buffer, PrinterModel model);
    ~OrvoDotImpactBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
