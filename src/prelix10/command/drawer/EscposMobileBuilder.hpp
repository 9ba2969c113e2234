#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class EscposMobileBuilder : public Builder {
  public:
    EscposMobileBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~EscposMobileBuilder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
