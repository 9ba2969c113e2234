#pragma once

#include "command/RootBuilder.hpp"

namespace PrinterCommandBuilder {

class KestrinBuilder : public RootBuilder {
  public:
    KestrinBuilder(ByteBuffer* buffer, PrinterModel model);
    ~KestrinBuilder() override = default;
};

}  // namespace PrinterCommandBuilder
