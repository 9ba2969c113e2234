#include "prelix10/command/drawer/OrvoDotImpactBuilder.hpp"

#include "prelix10/command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void OrvoDotImpactBuilder::appendActionExecute(DrawerChannel channel, int onTime, int offTime) {
    Execute::orvoCommon(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Drawer
