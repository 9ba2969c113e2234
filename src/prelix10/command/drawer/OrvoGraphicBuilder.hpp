#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class OrvoGraphicBuilder : public Builder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoGraphicBuilder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
