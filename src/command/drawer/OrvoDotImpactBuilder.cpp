#include "command/drawer/OrvoDotImpactBuilder.hpp"

#include "command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void OrvoDotImpactBuilder::appendActionExecute(DrawerChannel channel, int onTime, int offTime) {
    Execute::orvoCommon(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Drawer
