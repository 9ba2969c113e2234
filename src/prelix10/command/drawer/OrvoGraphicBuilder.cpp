#include "prelix10/command/drawer/OrvoGraphicBuilder.hpp"

#include "prelix10/command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void OrvoGraphicBuilder::appendActionExecute(DrawerChannel channel, int onTime, int offTime) {
    Execute::orvoCommon(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Drawer
