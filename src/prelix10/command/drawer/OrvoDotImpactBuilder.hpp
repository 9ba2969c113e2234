#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class OrvoDotImpactBuilder : public Builder {
  public:
    OrvoDotImpactBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoDotImpactBuilder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
