#include "prelix10/command/drawer/OrvoYalme1Builder.hpp"

#include "prelix10/command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void OrvoYalme1Builder::appendActionExecute(DrawerChannel channel, int onTime, int offTime) {
    Execute::orvoYalme1(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Drawer
