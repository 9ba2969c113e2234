#pragma once

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/drawer/DrawerTypes.hpp"

namespace PrinterCommandBuilder::Drawer {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    virtual void appendActionExecute(DrawerChannel channel, int onTime, int offTime) = 0;
};

}  // namespace PrinterCommandBuilder::Drawer
