#pragma once

#include "prelix10/command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class KestrinBuilder : public RootBuilder {
  public:
    KestrinBuilder(ByteBuffer* buffer, PrinterModel model);
    ~KestrinBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
