#pragma once

#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {

class KestrinBuilder : public Builder {
  public:
    KestrinBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~KestrinBuilder() override = default;

    void appendActionExecute(DrawerChannel channel, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Drawer
