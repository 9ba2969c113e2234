#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class OrvoLineBuilder : public Builder {
  public:
    OrvoLineBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoLineBuilder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
