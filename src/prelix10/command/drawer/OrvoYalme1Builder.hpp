#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
