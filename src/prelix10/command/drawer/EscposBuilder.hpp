#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class EscposBuilder : public Builder {
  public:
    EscposBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposBuilder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
